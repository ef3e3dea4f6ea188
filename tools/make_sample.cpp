// Builds the sample quests.lbd from its plain-text description in examples/,
// with the program's own image writer, so the sample always has the format the
// program reads.
//
//   make_sample DESCRIPTION OUTPUT     write the database image to OUTPUT
//   make_sample --check DESCRIPTION EXISTING
//                                      fail unless EXISTING holds exactly that image
//
// The description holds one quest per block of lines, blocks separated by empty
// lines; each line is one entry text, "! " before it marks a finisher, and lines
// starting with "#" are comments.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "questdb/byte_buffer.h"
#include "questdb/quest_database.h"

namespace {

struct DescriptionError {
    int line;
    std::string what;
};

// A text holding one of these can never be the cleaned text of a journal entry:
// the journal reader removes the marks and cuts the text at the first tag.
bool HoldsJournalMarkup(const std::string& text) {
    return text.find_first_of("@#<") != std::string::npos;
}

QuestDatabase ParseDescription(std::istream& in) {
    QuestDatabase database;
    Quest* quest = nullptr;  // the quest of the current block; none between blocks
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            quest = nullptr;
            continue;
        }
        if (line[0] == '#') continue;

        bool finisher = line.rfind("! ", 0) == 0;
        std::string text = finisher ? line.substr(2) : line;
        if (text.empty()) throw DescriptionError{number, "an item needs a text"};
        if (HoldsJournalMarkup(text)) {
            throw DescriptionError{number, "\"@\", \"#\" and \"<\" never reach an entry's text"};
        }
        if (database.FindItem(text)) {
            throw DescriptionError{number, "this text is already an item of a quest"};
        }
        if (quest) {
            database.AddItem(*quest, text, -1, finisher);
        } else {
            quest = database.AddQuest(text, -1, finisher);
        }
    }
    return database;
}

bool ReadFile(const char* path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int Usage() {
    std::cerr << "usage: make_sample DESCRIPTION OUTPUT\n"
                 "       make_sample --check DESCRIPTION EXISTING\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool check = argc == 4 && std::string(argv[1]) == "--check";
    if (argc != 3 && !check) return Usage();
    const char* descriptionPath = argv[check ? 2 : 1];
    const char* outputPath = argv[check ? 3 : 2];

    std::ifstream description(descriptionPath, std::ios::binary);
    if (!description) {
        std::cerr << "make_sample: can't open " << descriptionPath << "\n";
        return 1;
    }
    ByteBuffer image;
    try {
        ParseDescription(description).WriteImage(image);
    } catch (const DescriptionError& error) {
        std::cerr << descriptionPath << ":" << error.line << ": " << error.what << "\n";
        return 1;
    }

    if (check) {
        std::vector<std::uint8_t> existing;
        if (!ReadFile(outputPath, existing)) {
            std::cerr << "make_sample: can't read " << outputPath << "\n";
            return 1;
        }
        if (existing != image.Bytes()) {
            std::cerr << outputPath << " is not the image of " << descriptionPath
                      << "; rebuild it with make_sample\n";
            return 1;
        }
        return 0;
    }

    std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.Data()),
              static_cast<std::streamsize>(image.Size()));
    out.close();
    if (!out) {
        std::cerr << "make_sample: can't write " << outputPath << "\n";
        return 1;
    }
    std::cout << outputPath << ": " << image.Size() << " bytes\n";
    return 0;
}
