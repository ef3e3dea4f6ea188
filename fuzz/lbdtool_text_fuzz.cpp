// Reads any bytes both ways: as the text that lbdtool build takes, which must
// never crash, whatever encoding its first bytes claim, and, when it is taken, must
// dump to a text that builds the same image; and as a quests.lbd image, which, when it reads
// undamaged, must come back from its dump with the bytes the image writer gives it.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "lbdtool/text_encoding.h"
#include "lbdtool/text_form.h"
#include "questdb/quest_database.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::string ImageOf(const QuestDatabase& database) {
    ByteBuffer image;
    database.WriteImage(image);
    return std::string(image.Bytes().begin(), image.Bytes().end());
}

// Builds `text`, which must be taken, and gives the image.
std::string BuildImage(const std::string& text) {
    QuestDatabase database;
    Require(ParseText(text, database).empty());
    return ImageOf(database);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::vector<TextLineError> encodingErrors;
    const std::string text = InSystemCodePage(bytes, encodingErrors);
    QuestDatabase fromText;
    if (encodingErrors.empty() && ParseText(text, fromText).empty()) {
        Require(BuildImage(DumpText(fromText)) == ImageOf(fromText));
    }

    QuestDatabase fromImage;
    if (!fromImage.ReadImage(data, size).damaged) {
        const std::string image = ImageOf(fromImage);
        Require(BuildImage(DumpText(fromImage)) == image);
        // The image as read, but for finisher values and any bytes after the last quest.
        for (std::size_t i = 0; i < image.size(); ++i) {
            Require(image[i] == bytes[i] || (image[i] == '\xFF' && bytes[i] != 0));
        }
    }
    return 0;
}
