#include "journal/journal_messages.h"

std::string JournalWarningMessage(const JournalWarning& warning) {
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
            if (warning.line.size() <= kQuotedLineLimit) {
                message.append(warning.line);
            } else {
                message.append(warning.line, 0, kQuotedLineLimit);
                message.append("...");
            }
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
