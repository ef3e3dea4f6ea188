#include "framework/whole_file.h"

#include "framework/file.h"

WholeFile ReadWholeFile(const std::string& path, std::uint64_t largest) {
    WholeFile whole;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary,
                   &whole.error)) {
        whole.outcome = WholeFile::Outcome::OpenFailed;
        return whole;
    }
    try {
        const std::uint64_t length = file.GetLength();
        if (length > largest || length > UINT_MAX) {
            whole.outcome = WholeFile::Outcome::TooLarge;
            return whole;
        }
        whole.bytes.resize(static_cast<std::size_t>(length));
        const UINT read =
            whole.bytes.empty() ? 0 : file.Read(whole.bytes.data(), static_cast<UINT>(length));
        whole.bytes.resize(read);  // the file may have shrunk since its length was taken
        file.Close();
    } catch (const CFileException& error) {
        whole.outcome = WholeFile::Outcome::ReadFailed;
        whole.error = error.OsError();
        whole.bytes.clear();
    }
    return whole;
}
