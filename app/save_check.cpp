#include "app/save_check.h"

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/row_checks.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"

namespace {

// The box names this many rows; a longer list would not fit on the screen.
constexpr int LISTED_ROWS = 10;
// A row's text is shown up to this many characters: a line may be a megabyte.
constexpr std::size_t SHOWN_CHARACTERS = 80;

std::u16string Number(int n) { return Built([n] { text_from_int(n, -1); }).c_str(); }

std::u16string Rows(int n) { return Number(n) + (n == 1 ? u" row" : u" rows"); }

std::u16string Shown(const char16_t* row) {
    std::u16string text = row ? row : u"";
    if (text.size() > SHOWN_CHARACTERS) text = text.substr(0, SHOWN_CHARACTERS) + u"...";
    return text;
}

struct Findings {
    int problems = 0;
    int fixable = 0;
    std::u16string listed;
};

Findings Find(const std::vector<RowCheck>& checks) {
    Findings findings;
    OrderedList* store = app.playlist_store.list;
    list_reset(store);
    for (const RowCheck& check : checks) {
        auto* entry = static_cast<PlaylistEntry*>(list_next(store));
        if (!entry || PlaysAsWritten(check)) continue;
        if (check.verdict == PlayerVerdict::plays_by_fallback) ++findings.fixable;
        if (++findings.problems > LISTED_ROWS) continue;
        const int row = static_cast<int>(&check - checks.data());
        findings.listed += u"Row " + Number(row + 1) + u": " + Shown(entry->player_path) + u"\r\n    " +
                           CheckReason(check) + u"\r\n";
    }
    if (findings.problems > LISTED_ROWS) findings.listed += u"and " + Rows(findings.problems - LISTED_ROWS) + u" more.\r\n";
    return findings;
}

}  // namespace

bool RowsReadyToSave() {
    Findings findings = Find(CheckAllRows());
    if (findings.problems == 0) return true;
    std::u16string text =
        Rows(findings.problems) + u" will not play on the player as written:\r\n\r\n" + findings.listed + u"\r\n";
    if (findings.fixable == 0) {
        text += u"Save the playlist as it is?";
        return requester_message(u"Check before saving", text.c_str(), REQUESTER_YES_NO | REQUESTER_ICON_QUESTION) ==
               ANSWER_YES;
    }
    text += u"Yes: fix " + Rows(findings.fixable) +
            u" the player finds elsewhere, writing the path it finds, and save.\r\n"
            u"No: save the playlist as it is.\r\n"
            u"Cancel: go back to the list without saving.";
    int answer = requester_message(u"Check before saving", text.c_str(),
                                   REQUESTER_YES_NO_CANCEL | REQUESTER_ICON_QUESTION);
    if (answer == ANSWER_YES) FixFallbackRows();
    return answer == ANSWER_YES || answer == ANSWER_NO;
}

int FixFallbackRows() {
    const std::vector<RowCheck> checks = CheckAllRows();
    const std::u16string& root = CheckedPlaylist().volume_root;
    OrderedList* store = app.playlist_store.list;
    int fixed = 0;
    int first = -1;
    list_reset(store);
    std::u16string local;
    for (std::size_t row = 0; row < checks.size(); ++row) {
        auto* entry = static_cast<PlaylistEntry*>(list_next(store));
        if (!entry || checks[row].verdict != PlayerVerdict::plays_by_fallback) continue;
        LocalPathOf(checks[row].played, root, local);
        text_assign(&entry->player_path, checks[row].played.c_str());
        text_assign(&entry->local_path, local.c_str());
        gadget_item_text_set(PLAYLIST_GADGET, static_cast<int>(row), entry->player_path);
        if (first < 0) first = static_cast<int>(row);
        ++fixed;
    }
    if (fixed == 0) return 0;
    app.is_saved = 0;
    CheckRowsFrom(first);
    return fixed;
}
