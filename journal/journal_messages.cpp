#include "journal/journal_messages.h"

std::string JournalWarningMessage(const JournalWarning& warning, LeadByteTest isLeadByte) {
    std::string message;
    switch (warning.kind) {
        case JournalWarning::Kind::None:
            break;
        case JournalWarning::Kind::Short:
            message = kJournalFormatWarning;
            break;
        case JournalWarning::Kind::Long:
            message.append(kJournalFormatWarning);
            message.append(kJournalTroubleLineIntro);
            message.append(Abbreviated(warning.line, kQuotedLineLimit, isLeadByte));
            break;
    }
    return message;
}

std::string JournalOpenFailedMessage(std::string_view path) {
    std::string message = "Can't find the journal file named \"";
    message.append(path);
    message.append("\"\n.");
    return message;
}

std::string JournalOpenRefusedMessage(std::string_view path, std::string_view reason) {
    std::string message = "Can't open the journal file named \"";
    message.append(path);
    message.append("\":\n");
    message.append(reason);
    message.append("\n\nPress Reload Journal to try again.");
    return message;
}

std::string JournalOutOfMemoryMessage(std::string_view path) {
    return "Not enough memory to read the journal file \"" + std::string(path) + "\".";
}

std::string JournalReadFailedMessage(std::string_view failure, std::size_t entriesKept) {
    return std::string(failure) + "\n\nLorebinder goes on with the " + std::to_string(entriesKept) +
           (entriesKept == 1 ? " entry" : " entries") + " read before the error.";
}
