// The scan report: a borderless window, opened from the games counter, that
// lists Ravlen and the 24 games with what the last scan decided for each and
// why, checks the zipped sets on request and copies the list as plain text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/scan_report.h"
#include "components/label4move_win.h"
#include "ui/borderless_form_win.h"
#include "ui/progress_display.h"

namespace qv {

class TF_ScanReport : public BorderlessForm {
public:
    static constexpr int kClientWidth = 460;
    static constexpr int kClientHeight = 360;

    // wait shows which archive a check is reading.
    explicit TF_ScanReport(ProgressDisplay& wait) : wait_(wait) {}

    // Creates the window, hidden, owned by owner, with the verdicts of the
    // last scan if one has ended.
    bool create(HWND owner);

    // Takes the verdicts of a scan that has just ended; an earlier check is
    // forgotten. The window need not be made yet.
    void refresh(const std::string& emulatorFolder, const EmulatorVerdict& emulator,
                 const std::vector<GameVerdict>& games);

    // Handlers.
    void ShowProc();   // shows the window in front
    void CheckProc();  // "Check archives": reads every archive of the list
    void CopyProc();   // "Copy list": the list as plain text on the clipboard
    // After a run: the found games' play history is read again.
    void HistoryChanged();

    // Each game's play history; none shown without it.
    HistoryReader readHistory;

    const std::vector<ReportRow>& rows() const { return rows_; }
    std::string text() const { return ReportText(heading_, rows_); }

    TOstrelLabel4Move* PL4M = nullptr;
    Label* L_HEAD = nullptr;  // the heading: games found and where
    Label* L_INFO = nullptr;  // status line
    HWND LB = nullptr;  // the list, drawn by this window
    HWND B_CHECK = nullptr;
    HWND B_COPY = nullptr;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // The rows are measured again in the fonts of the new DPI.
    void dpiChanged(int dpi) override;

private:
    void fillList();
    int measureRow(const ReportRow& row) const;
    void drawRow(const DRAWITEMSTRUCT& item) const;

    ProgressDisplay& wait_;
    std::string folder_;
    EmulatorVerdict emulator_;
    std::vector<GameVerdict> games_;
    ArchiveChecks checks_;
    std::string heading_;
    std::vector<ReportRow> rows_;
    OwnedBrush listGround_;
    unsigned scans_ = 0;  // refreshes so far: a check that outlives its scan is dropped
};

}  // namespace qv
