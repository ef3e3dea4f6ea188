#include "lbdtool/text_form.h"

#include <optional>
#include <utility>

namespace {

// Below 0x40, so never the second byte of a double-byte character in any of
// the system code pages: a text is written without changing a byte of it.
constexpr char kEscape = '%';
constexpr std::string_view kFinisherMark = "! ";
constexpr std::string_view kEmptyText = "%";
constexpr std::string_view kNoItems = "%none";

constexpr std::string_view kHeader =
    "# A Lorebinder quest database written as text by \"lbdtool dump\". Turn it\n"
    "# back into a database with:  lbdtool build THIS-FILE quests.lbd\n"
    "#\n"
    "# One quest a block, blocks separated by an empty line. One item a line, in\n"
    "# database order: the text of a journal entry exactly as Lorebinder reads it\n"
    "# from journal.htm. \"! \" before a text marks a finisher. Lines that begin\n"
    "# with \"#\" are comments; the \"# Quest N\" above each block is the number\n"
    "# that \"lbdtool check\" gives, and items count from 1 within their block.\n"
    "#\n"
    "# \"%\" is the escape character: %HH stands for the byte of hexadecimal value\n"
    "# HH, and %25 for \"%\" itself. It stands for tabs (%09), line feeds (%0A) and\n"
    "# other control bytes, and for a blank, \"!\" or \"#\" at the start of a text or\n"
    "# a blank at its end. A line of \"%\" alone is an empty text; a block of the\n"
    "# one line \"%none\" is a quest with no items. Every other byte stands for\n"
    "# itself, in the system code page, as in quests.lbd.\n";

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

void AppendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += kEscape;
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

void AppendText(std::string& out, const std::string& text) {
    if (text.empty()) {
        out += kEmptyText;
        return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool first = i == 0;
        const bool last = i + 1 == text.size();
        if (byte == kEscape || IsControl(byte) ||
            (first && (byte == '!' || byte == '#' || byte == ' ')) || (last && byte == ' ')) {
            AppendEscaped(out, byte);
        } else {
            out += static_cast<char>(byte);
        }
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// What one line of a block says.
struct ItemLine {
    std::string text;
    bool finisher = false;
    bool noItems = false;  // the "%none" line
};

// The line as an item, or the reason it is none.
std::optional<ItemLine> ParseItemLine(std::string_view line, std::string& reason) {
    ItemLine item;
    if (line.substr(0, kFinisherMark.size()) == kFinisherMark) {
        item.finisher = true;
        line.remove_prefix(kFinisherMark.size());
        if (line.empty()) {
            reason = "a finisher needs a text after \"! \" (\"! %\" for an empty one)";
            return std::nullopt;
        }
    } else if (line.front() == '!') {
        reason =
            "\"!\" marks a finisher only with a blank after it; a text that begins "
            "with \"!\" is written %21";
        return std::nullopt;
    }
    if (line == kEmptyText) return item;
    if (line == kNoItems) {
        if (item.finisher) {
            reason = "\"%none\" is a quest with no items and can't be a finisher";
            return std::nullopt;
        }
        item.noItems = true;
        return item;
    }
    // Blanks an editor may have added unseen would make a text no journal entry has.
    if (line.front() == ' ') {
        reason = "a text that begins with a blank is written with %20 for that blank";
        return std::nullopt;
    }
    if (line.back() == ' ') {
        reason =
            "the line ends in a blank; a text that ends in one is written with %20 "
            "for the last";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (IsControl(byte)) {
            std::string escaped;
            AppendEscaped(escaped, byte);
            reason = "the line holds a control byte; write it as " + escaped;
            return std::nullopt;
        }
        if (byte != kEscape) {
            item.text += static_cast<char>(byte);
            continue;
        }
        const int high = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
        const int low = i + 2 < line.size() ? HexValue(line[i + 2]) : -1;
        if (high < 0 || low < 0) {
            reason = "\"%\" must be followed by two hexadecimal digits (%25 for \"%\" itself)";
            return std::nullopt;
        }
        if (high == 0 && low == 0) {
            reason = "a text can't hold byte 0 (%00): the database ends each text there";
            return std::nullopt;
        }
        item.text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return item;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

std::string DumpText(const QuestDatabase& database) {
    std::string out(kHeader);
    for (std::size_t q = 0; q < database.quests.size(); ++q) {
        out += "\n# Quest " + std::to_string(q + 1) + "\n";
        const Quest& quest = database.quests[q];
        if (quest.items.empty()) out += std::string(kNoItems) + "\n";
        for (const QuestItem& item : quest.items) {
            if (item.finisher) out += kFinisherMark;
            AppendText(out, item.text);
            out += '\n';
        }
    }
    return out;
}

std::vector<TextLineError> ParseText(std::string_view text, QuestDatabase& database) {
    std::vector<TextLineError> errors;
    Quest* quest = nullptr;  // the block being read; none between blocks
    bool blockHasNoItems = false;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (IsBlankLine(line)) {
            quest = nullptr;
            continue;
        }
        if (line.front() == '#') continue;

        std::string reason;
        std::optional<ItemLine> item = ParseItemLine(line, reason);
        if (item && quest && (blockHasNoItems || item->noItems)) {
            item.reset();
            reason = "\"%none\" stands alone in its block: it is a quest with no items";
        }
        if (!item) {
            errors.push_back({number, std::move(reason)});
            continue;
        }
        if (!quest) {
            quest = database.AppendQuest(Quest{});
            blockHasNoItems = item->noItems;
        }
        if (!item->noItems) database.AddItem(*quest, std::move(item->text), -1, item->finisher);
    }
    return errors;
}
