// The scan report window.
#include "app/scan_report_win.h"

#include <algorithm>
#include <cstring>

#include "archive/extract_win.h"
#include "ui/busy_win.h"
#include "ui/dpi_win.h"
#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/system_win.h"
#include "util/text.h"

namespace qv {

namespace {

enum ControlId { kIdList = 201, kIdCheck, kIdCopy };

// The list's well and the strips of the frame picture.
constexpr RECT kList{8, 57, 452, 322};
constexpr int kPadding = 4;  // around the text of a row

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kListColour = RGB(8, 10, 14);
constexpr COLORREF kRule = RGB(44, 48, 56);
constexpr COLORREF kFoundColour = RGB(96, 230, 110);
constexpr COLORREF kMissingColour = RGB(255, 186, 72);
constexpr COLORREF kFaultColour = RGB(255, 90, 80);
constexpr COLORREF kVerdictColour = RGB(200, 204, 212);
constexpr COLORREF kHistoryColour = RGB(120, 178, 255);

HFONT TitleFont(int dpi) { return UiFontAt(13, dpi, FontStyle::Bold); }
HFONT TextFont(int dpi) { return UiFontAt(13, dpi); }

// Height of text wrapped to width (long paths break inside, as in an edit box).
int WrappedHeight(HDC dc, HFONT font, const std::string& text, int width) {
    SelectScope select(dc, font);
    RECT box{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    return box.bottom;
}

int DrawWrapped(HDC dc, HFONT font, COLORREF colour, const std::string& text, RECT box) {
    SelectScope select(dc, font);
    SetTextColor(dc, colour);
    return DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
                     DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
}

bool CopyTextToClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool placed = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!placed) GlobalFree(memory);  // the clipboard did not take it
    }
    CloseClipboard();
    return placed;
}

}  // namespace

bool TF_ScanReport::create(HWND owner) {
    if (!createForm("QuarvelScanReport", "Games - Quarvel", 0, kClientWidth, kClientHeight,
                    owner)) {
        return false;
    }
    setColor(RGB(0, 0, 0));
    listGround_.reset(CreateSolidBrush(kListColour));

    Image& frame = addImage(0, 0, 0, 0);
    frame.setAutoSize(true);
    frame.loadPicture("_F_SCAN");
    sendToBack(frame);

    PL4M = &add<TOstrelLabel4Move>(8, 0, kClientWidth - 40, 25);
    L_HEAD = &addLabel(12, 34, kClientWidth - 24, 16);
    L_HEAD->setFont(UiFont(13, FontStyle::Bold));
    L_HEAD->setColor(kBlue);
    L_INFO = &addLabel(186, 332, kClientWidth - 194, 16);
    L_INFO->setFont(UiFont(13, FontStyle::BoldItalic));
    L_INFO->setColor(kBlue);
    L_INFO->setCaption("READY");
    addExitPicture(kClientWidth - 21).loadPicture("_B_SCANE");

    const RECT list = ScaledRect(kList, dpi());
    LB = CreateWindowExA(0, "LISTBOX", "",
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWVARIABLE |
                             LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
                         list.left, list.top, list.right - list.left, list.bottom - list.top,
                         hwnd(), reinterpret_cast<HMENU>(INT_PTR{kIdList}),
                         GetModuleHandleA(nullptr), nullptr);
    PlaceChild(LB, kList, 0);
    B_CHECK = CreatePushButton(hwnd(), "&Check archives", 8, 330, 92, 20, kIdCheck);
    B_COPY = CreatePushButton(hwnd(), "C&opy list", 106, 330, 66, 20, kIdCopy);
    if (scans_ > 0) fillList();  // a scan that ended before the window was made
    return true;
}

void TF_ScanReport::refresh(const std::string& emulatorFolder, const EmulatorVerdict& emulator,
                            const std::vector<GameVerdict>& games) {
    ++scans_;
    folder_ = emulatorFolder;
    emulator_ = emulator;
    games_ = games;
    checks_.clear();
    if (!hwnd()) return;  // made later, it shows them then
    L_INFO->setCaption("READY");
    fillList();
}

void TF_ScanReport::fillList() {
    heading_ = ReportHeading(folder_, games_);
    rows_ = ReportRows(emulator_, games_, checks_, readHistory);
    L_HEAD->setCaption(heading_);
    const int top = static_cast<int>(SendMessageA(LB, LB_GETTOPINDEX, 0, 0));
    SendMessageA(LB, WM_SETREDRAW, FALSE, 0);
    SendMessageA(LB, LB_RESETCONTENT, 0, 0);
    for (const ReportRow& row : rows_)
        SendMessageA(LB, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text().c_str()));
    SendMessageA(LB, LB_SETTOPINDEX, top, 0);
    SendMessageA(LB, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(LB, nullptr, TRUE);
}

void TF_ScanReport::HistoryChanged() {
    if (hwnd()) fillList();
}

void TF_ScanReport::ShowProc() {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void TF_ScanReport::CheckProc() {
    // One check at a time, and none while a scan or a launch runs.
    if (BusyWith() != Work::kNothing) return;
    BusyScope busy(Work::kCheck);
    EnableWindow(B_CHECK, FALSE);
    const unsigned scan = scans_;
    const std::vector<std::string> archives = ArchivesToCheck(emulator_, games_);
    wait_.setState("Checking...");
    wait_.setInfo("");
    wait_.showNow();
    LARGE_INTEGER start{}, end{}, frequency{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ArchiveChecks checks =
        CheckArchives(archives, CheckArchive, [this, &busy](const std::string& name) {
            wait_.setInfo("Reading " + name);
            busy.yield();
        });
    QueryPerformanceCounter(&end);
    const auto took = static_cast<std::int32_t>((end.QuadPart - start.QuadPart) * 1000 /
                                                std::max<LONGLONG>(frequency.QuadPart, 1));
    wait_.hide();
    EnableWindow(B_CHECK, TRUE);
    // A scan that ended meanwhile has made other verdicts: the check was of the old ones.
    if (scan != scans_) return;
    checks_ = std::move(checks);
    int faulty = 0;
    for (const auto& [path, check] : checks_)
        faulty += ArchiveProblem(check).empty() ? 0 : 1;
    fillList();
    L_INFO->setCaption(IntText(static_cast<std::int32_t>(archives.size())) + " archive(s), " +
                       IntText(took) +
                       " ms: " + (faulty ? IntText(faulty) + " at fault" : "all good"));
}

void TF_ScanReport::CopyProc() {
    L_INFO->setCaption(CopyTextToClipboard(hwnd(), text()) ? "List copied to the clipboard"
                                                           : "The clipboard is busy");
}

void TF_ScanReport::dpiChanged(int dpi) {
    BorderlessForm::dpiChanged(dpi);
    if (LB) fillList();
}

int TF_ScanReport::measureRow(const ReportRow& row) const {
    const int at = dpi();
    const RECT list = ScaledRect(kList, at);
    const int padding = ScaleLength(kPadding, at);
    const int width = list.right - list.left - SystemMetricAt(SM_CXVSCROLL, at) - 2 * padding;
    ScreenDc screen;
    int height = 2 * padding + WrappedHeight(screen.get(), TitleFont(at), row.title, width) +
                 WrappedHeight(screen.get(), TextFont(at), row.verdict, width);
    for (const std::string* line : {&row.check, &row.history})
        if (!line->empty()) height += WrappedHeight(screen.get(), TextFont(at), *line, width);
    return std::min(height, 255);  // the most a list box item can be
}

void TF_ScanReport::drawRow(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT box = item.rcItem;
    FillRect(dc, &box, listGround_.get());
    if (item.itemID >= rows_.size()) return;
    const ReportRow& row = rows_[item.itemID];
    OwnedBrush rule(CreateSolidBrush(kRule));
    RECT line{box.left, box.bottom - 1, box.right, box.bottom};
    FillRect(dc, &line, rule.get());

    SetBkMode(dc, TRANSPARENT);
    const int at = dpi();
    const int padding = ScaleLength(kPadding, at);
    RECT text{box.left + padding, box.top + padding, box.right - padding, box.bottom};
    const COLORREF titleColour =
        row.faulty ? kFaultColour : (row.found ? kFoundColour : kMissingColour);
    text.top += DrawWrapped(dc, TitleFont(at), titleColour, row.title, text);
    text.top += DrawWrapped(dc, TextFont(at), kVerdictColour, row.verdict, text);
    if (!row.check.empty())
        text.top +=
            DrawWrapped(dc, TextFont(at), row.faulty ? kFaultColour : kFoundColour, row.check, text);
    if (!row.history.empty()) DrawWrapped(dc, TextFont(at), kHistoryColour, row.history, text);
}

LRESULT TF_ScanReport::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (item->CtlID == kIdList && item->itemID < rows_.size())
            item->itemHeight = static_cast<UINT>(measureRow(rows_[item->itemID]));
        return TRUE;
    }
    case WM_DRAWITEM:
        if (wp == kIdList) drawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(listGround_.get());
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCheck) CheckProc();
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kIdCopy) CopyProc();
        return 0;
    }
    return BorderlessForm::handleMessage(msg, wp, lp);
}

}  // namespace qv
