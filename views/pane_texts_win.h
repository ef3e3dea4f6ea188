// The texts of the four panes under the tree and the list. Wine's multi-line edit
// lays its whole text out again on every set, some milliseconds each time, and one
// command can clear a pane and fill it again before it ends (a rebuilt tree drops
// its selection, then the command selects the new item). So while a PaneBatch
// lives the panes keep their texts, and when the outermost batch ends each pane is
// set once, to the last text asked for, and only if it shows something else.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/edit.h"
#include "journal/journal_entry.h"
#include "views/shown_text_win.h"

class PaneTexts {
public:
    void Set(CEdit& pane, std::string text) {
        if (held == 0) {
            pane.SetWindowTextIfChanged(text);
            return;
        }
        for (auto& [waitingPane, waitingText] : waiting) {
            if (waitingPane == &pane) {
                waitingText = std::move(text);
                return;
            }
        }
        waiting.emplace_back(&pane, std::move(text));
    }

    // A heading pane and a text pane show the entry, or nothing when it is null.
    void ShowEntry(CEdit& headingPane, CEdit& textPane, const JournalEntry* entry) {
        Set(headingPane, entry ? ShownText(entry->heading) : "");
        Set(textPane, entry ? ShownText(entry->text) : "");
    }

    void Hold() { ++held; }
    void Release() {
        if (--held > 0) return;
        std::vector<std::pair<CEdit*, std::string>> due;
        due.swap(waiting);
        for (auto& [pane, text] : due) pane->SetWindowTextIfChanged(text);
    }

private:
    int held = 0;
    std::vector<std::pair<CEdit*, std::string>> waiting;
};

class PaneBatch {
public:
    explicit PaneBatch(PaneTexts& texts) : texts(texts) { texts.Hold(); }
    // Runs on the way out of an abandoned command too, so no text stays waiting.
    ~PaneBatch() { texts.Release(); }
    PaneBatch(const PaneBatch&) = delete;
    PaneBatch& operator=(const PaneBatch&) = delete;

private:
    PaneTexts& texts;
};
