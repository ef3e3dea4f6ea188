#include "views/view_messages.h"

std::string DisplayedCountText(std::size_t displayed, std::size_t total) {
    return "Displayed: " + std::to_string(displayed) + "/" + std::to_string(total);
}

std::string QuestTreeLabel(const std::string& text, bool finisher) {
    return finisher ? "FINISHER: " + text : text;
}

std::string NotFoundMessage(const std::string& lowered) {
    return "\"" + lowered + "\" Not found.";
}
