#include "journal/growing_journal.h"

#include <algorithm>

GrowingJournal::Reading GrowingJournal::Start(JournalSource& file, std::uint64_t length,
                                              const std::function<void()>& beforeStartingOver) {
    if (canGoOn && TailUnchanged(file, length)) return Reading{Way::Appended, journal.size()};
    file.Seek(0);
    if (beforeStartingOver) beforeStartingOver();
    reader.emplace(journal);
    consumed = 0;
    tail.clear();
    canGoOn = true;
    return Reading{Way::Whole, 0};
}

bool GrowingJournal::TailUnchanged(JournalSource& file, std::uint64_t length) {
    if (length < consumed) return false;
    file.Seek(consumed - tail.size());
    std::string bytes(tail.size(), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::size_t read = file.Read(bytes.data() + got, bytes.size() - got);
        if (read == 0) return false;
        got += read;
    }
    return bytes == tail;
}

void GrowingJournal::Take(JournalSource& file, std::uint64_t length, bool finishing) {
    std::vector<char> chunk(kChunkSize);
    while (consumed < length) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, length - consumed));
        const std::size_t read = file.Read(chunk.data(), wanted);
        if (read == 0) break;  // the file shrank since it was opened
        Feed(chunk.data(), read);
    }
    // After byte 26 nothing more is read, so its last line is complete.
    if (!finishing && !reader->Ended()) return;
    if (reader->AtRest()) return;
    canGoOn = reader->Ended();
    reader->Finish();
}

void GrowingJournal::Feed(const char* bytes, std::size_t size) {
    canGoOn = false;  // until the reader has taken them whole
    reader->Feed(bytes, size);
    consumed += size;
    if (size >= kTailChecked) {
        tail.assign(bytes + size - kTailChecked, kTailChecked);
    } else {
        tail.append(bytes, size);
        if (tail.size() > kTailChecked) tail.erase(0, tail.size() - kTailChecked);
    }
    canGoOn = true;
}

const JournalWarning& GrowingJournal::Warning() const {
    static const JournalWarning none;
    return reader ? reader->Warning() : none;
}
