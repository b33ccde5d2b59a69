// The snapshot viewer window.
#include "viewer/pcx_view_win.h"

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <chrono>

#include "ui/busy_win.h"
#include "ui/dpi_win.h"
#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/files_win.h"
#include "util/on_demand_win.h"
#include "product/ravlen_files.h"
#include "util/system_win.h"
#include "util/text.h"
#include "viewer/load_pcx_win.h"
#include "viewer/snapshot_choice.h"
#include "viewer/snapshot_gif_win.h"

namespace qv {
namespace {

constexpr COLORREF kStatusColour = RGB(0, 0, 255);
constexpr char kReady[] = "READY";
constexpr char kCannotList[] = "Cannot list the snapshot folder";
constexpr int kListLeft = 8;
constexpr int kListWidth = 113;

// The longest stretch the list filling keeps the window from its messages.
constexpr auto kFillSlice = std::chrono::milliseconds(30);

// A copy of a bitmap that the clipboard may own.
OwnedBitmap ClipboardCopy(HBITMAP bitmap) {
    return OwnedBitmap(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
}

}  // namespace

TF_PcxView::~TF_PcxView() {
    if (hwnd()) DestroyWindow(hwnd());
    if (PopM1) DestroyMenu(PopM1);
}

bool TF_PcxView::create(HWND owner) {
    if (!createForm("QuarvelPcxView", "Pcx Viewer - Quarvel", WS_SYSMENU, kClientWidth,
                    kClientHeight, owner)) {
        return false;
    }
    if (!createControls()) return false;
    InitAll();
    return true;
}

// False when a child window could not be made.
bool TF_PcxView::createControls() {
    PL4M = &add<TOstrelLabel4Move>(8, 0, 489, 25);
    PL4M->setFont(UiFont(11));
    PL4M->setCaption("PL4M");

    L_INFO = &addLabel(40, 262, 465, 16);
    L_INFO->setFont(UiFont(13, FontStyle::BoldItalic));
    L_INFO->setColor(kStatusColour);
    L_INFO->setCaption(kReady);

    addExitPicture(500);

    if (!SB.create(hwnd(), 128, 32, 384, 224)) return false;
    SB.setRanges(384, 224);

    // The list's keys reach this window first (WM_VKEYTOITEM): the shortcuts.
    const RECT list = ScaledRect(kListLeft, 32, kListWidth, 225, dpi());
    LB = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                             LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                         list.left, list.top, list.right - list.left, list.bottom - list.top,
                         hwnd(), reinterpret_cast<HMENU>(INT_PTR(kIdList)),
                         GetModuleHandleA(nullptr), nullptr);
    SendMessageA(LB, WM_SETFONT, reinterpret_cast<WPARAM>(UiFontAt(11, dpi())), FALSE);
    SendMessageA(LB, LB_SETITEMHEIGHT, 0, ScaleLength(13, dpi()));
    PlaceChild(LB, RECT{kListLeft, 32, kListLeft + kListWidth, 32 + 225}, 11, [](HWND placed) {
        SendMessageA(placed, LB_SETITEMHEIGHT, 0, ScaleLength(13, DpiOf(GetParent(placed))));
    });

    B_2 = CreatePushButton(hwnd(), "...", 13, 262, 17, 17, kIdBrowse);
    // On its seat on the title strip (named SHOW in the picture): the wells, the list,
    // the picture and the status line stay where they are.
    CB_SHOW = CreateDropDownList(hwnd(), 330, 5, 164, 20, nullptr, 0);
    showChoices("");

    // The shortcuts stand after a tab, right-aligned; the texts are unchanged.
    PopM1 = CreatePopupMenu();
    AppendMenuA(PopM1, MF_STRING, kIdCopy, "&Copy to Clipboard\tCtrl+C");
    AppendMenuA(PopM1, MF_STRING, kIdSave, "&Save to Gif\tCtrl+S");
    AppendMenuA(PopM1, MF_STRING, kIdDelete, "&Delete Image\tDel");

    askSaveName = [this](const std::string& last) { return runSaveDialog(last); };
    confirmDelete = [this](int files) {
        return MessageBoxA(hwnd(), DeleteQuestion(files).c_str(), "Pcx Viewer - Quarvel",
                           MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    return LB && B_2 && PopM1 && CB_SHOW;
}

void TF_PcxView::InitAll() {
    // The frame: top, left, right, centre and bottom bars, behind the rest.
    auto bar = [this](const char* name) -> Image& {
        Image& image = addImage(0, 0, 0, 0);
        image.setAutoSize(true);
        image.loadPicture(name);
        sendToBack(image);
        return image;
    };
    Image& top = bar("_TBARPCX");
    const int below = top.designHeight();
    Image& left = bar("_LBARPCX");
    left.setBounds(0, below, left.designWidth(), left.designHeight());
    Image& right = bar("_RBARPCX");
    right.setBounds(kClientWidth - right.designWidth(), below, right.designWidth(),
                    right.designHeight());
    Image& centre = bar("_CBARPCX");
    centre.setBounds(kListLeft + kListWidth - 2, below, centre.designWidth(),
                     centre.designHeight());
    Image& bottom = bar("_BBARPCX");
    bottom.setBounds(0, centre.design().bottom, bottom.designWidth(), bottom.designHeight());

    Img_Exit->loadPicture("_B_PCXE");
    foundFiles_.clear();
    PL4M->setCaption("");
}

// Lists the folder afresh, in slices like the filling of the list: with
// thousands of snapshots the listing alone would keep the window from its
// messages for a noticeable while.
void TF_PcxView::ActiveX() {
    // One backslash at the end, also for a folder given with one (a drive root).
    viewerFolder_ = JoinedFolder(host_.SnapshotFolder());
    foundFiles_.clear();
    listed_.clear();
    // The game's record as it stands chooses the files while the folder is
    // listed; what is gone from the folder drops out once the listing ends.
    game_ = host_.CurrentGameSnapshots(viewerFolder_, std::nullopt);
    showChoices(game_ ? game_->title : "");
    lister_.emplace(viewerFolder_, kSnapshotMask, "N");
    FillList({});
}

void TF_PcxView::FillList(std::vector<std::string> names) {
    SendMessageA(LB, LB_RESETCONTENT, 0, 0);
    fillNames_ = std::move(names);
    fillNext_ = 0;
    fillSlice();
}

// Lists and adds items for one slice of time, with the list's drawing and
// scroll bar held back until its end: redrawn after every item, 5,000 of
// them took seconds. The rest waits for the fill timer, whose message comes
// after the input and painting that are waiting.
void TF_PcxView::fillSlice() {
    const auto start = std::chrono::steady_clock::now();
    const auto more = [start] { return std::chrono::steady_clock::now() - start < kFillSlice; };
    if (lister_) listSome(more);
    SendMessageA(LB, WM_SETREDRAW, FALSE, 0);
    while (fillNext_ < fillNames_.size()) {
        SendMessageA(LB, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fillNames_[fillNext_].c_str()));
        ++fillNext_;
        if (fillNext_ % 64 == 0 && !more()) break;
    }
    SendMessageA(LB, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(LB, nullptr, TRUE);
    if (filling()) {
        SetTimer(hwnd(), kFillTimerId, USER_TIMER_MINIMUM, nullptr);
    } else {
        KillTimer(hwnd(), kFillTimerId);
        fillNames_.clear();
        fillNext_ = 0;
    }
}

// Lists the folder on while the slice lasts; the files the list shows (the
// folder's snapshots, or those of them that the current game's runs left)
// wait for their items.
void TF_PcxView::listSome(const std::function<bool()>& more) {
    std::vector<std::string> found;
    const bool ended = lister_->step(found, more);
    listed_.insert(listed_.end(), found.begin(), found.end());
    if (game_ && gameOnly_) found = GameSnapshotsOf(found, game_->files);
    for (std::string& file : found) {
        fillNames_.push_back(file.substr(viewerFolder_.size()));
        foundFiles_.push_back(std::move(file));
    }
    if (ended) listingEnded();
}

// A folder that could not be listed to the end (missing, access refused, a
// drive or share that does not answer) lists nothing and says so, and the
// game keeps its record: it cannot tell what is gone.
void TF_PcxView::listingEnded() {
    const bool complete = lister_->complete();
    lister_.reset();
    if (!complete) {
        setStatus(kCannotList);
        SendMessageA(LB, LB_RESETCONTENT, 0, 0);
        fillNames_.clear();
        fillNext_ = 0;
        foundFiles_.clear();
    } else if (listingFailed_) {
        setStatus(kReady);
    }
    listingFailed_ = !complete;
    if (complete) host_.CurrentGameSnapshots(viewerFolder_, listed_);
    listed_.clear();
}

// The choice's entries for the current game (none: all snapshots only).
void TF_PcxView::showChoices(const std::string& gameTitle) {
    if (gameTitle.empty()) gameOnly_ = false;
    if (gameTitle != choicesFor_ || SendMessageA(CB_SHOW, CB_GETCOUNT, 0, 0) <= 0) {
        const std::vector<std::string> choices = SnapshotChoices(gameTitle);
        SetListItems(CB_SHOW, choices);
        choicesFor_ = gameTitle;
    }
    SetListIndex(CB_SHOW, gameOnly_ ? 1 : 0);
}

std::optional<std::string> TF_PcxView::itemText(LRESULT index) const {
    const LRESULT length = SendMessageA(LB, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return std::nullopt;
    std::string item(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(LB, LB_GETTEXT, index, reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    return item;
}

bool TF_PcxView::anySelected() const { return SendMessageA(LB, LB_GETSELCOUNT, 0, 0) > 0; }

void TF_PcxView::setStatus(const char* text) { L_INFO->setCaption(text); }

// The status line says what the work is, and the messages waiting are
// handled once, so that it shows before the work starts.
void TF_PcxView::announce(BusyScope& busy, const char* text) {
    setStatus(text);
    UpdateWindow(hwnd());
    busy.yield();
}

void TF_PcxView::ShowPcx() {
    if (!anySelected()) return;
    // The focused item: the one last clicked or moved to, selected or not.
    // Taken before the messages run: an activation among them refills the list.
    const std::optional<std::string> item = itemText(SendMessageA(LB, LB_GETCARETINDEX, 0, 0));
    const std::string folder = viewerFolder_;
    BusyScope busy(Work::kSnapshot);
    announce(busy, "Loading...");
    if (item) LoadPcx(SB.pictureSlot(), folder + *item);
    const SIZE size = SB.pictureSize();
    SB.setRanges(size.cx, size.cy);
    setStatus(kReady);
}

void TF_PcxView::C2CProc() {
    BusyScope busy(Work::kSnapshot);
    announce(busy, "Copying...");
    // Before any picture was shown there is nothing to copy, and the
    // clipboard keeps what it holds.
    if (SB.picture() && OpenClipboard(hwnd())) {
        EmptyClipboard();
        // The pictures are true-colour bitmaps: they carry no palette to add.
        // The clipboard owns the copy once it took it; until then it is ours.
        OwnedBitmap copy = ClipboardCopy(SB.picture());
        if (copy && SetClipboardData(CF_BITMAP, copy.get())) copy.release();
        CloseClipboard();
    }
    setStatus(kReady);
}

std::optional<std::string> TF_PcxView::runSaveDialog(const std::string& last) {
    char name[MAX_PATH] = "";
    lstrcpynA(name, last.c_str(), MAX_PATH);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = "Gif";
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!on_demand::GetSaveFileNameA(&dialog)) return std::nullopt;
    return std::string(name);
}

void TF_PcxView::SaveGif() {
    if (!anySelected()) return;
    const std::optional<std::string> name = askSaveName(lastSaveName_);
    if (!name) return;
    lastSaveName_ = *name;
    BusyScope busy(Work::kSnapshot);
    announce(busy, "Saving...");
    try {
        SaveSnapshotGif(SB.picture(), *name);
    } catch (const EFCreateError& error) {
        // The status stays on "Saving..." after a failed save.
        host_.ReportError(error.what());
        return;
    }
    setStatus(kReady);
}

void TF_PcxView::DelPic() { deleteFiles(selectedFiles()); }

// The selected files, last first, as full paths in the folder the list shows.
std::vector<std::string> TF_PcxView::selectedFiles() const {
    std::vector<std::string> files;
    for (LRESULT i = SendMessageA(LB, LB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        if (SendMessageA(LB, LB_GETSEL, i, 0) <= 0) continue;
        if (std::optional<std::string> item = itemText(i)) files.push_back(viewerFolder_ + *item);
    }
    return files;
}

// Deletes exactly the files given, whatever the list or the folder became
// since they were taken.
void TF_PcxView::deleteFiles(const std::vector<std::string>& files) {
    if (files.empty()) return;
    for (const std::string& file : files)
        DeleteFileA(file.c_str());
    ActiveX();
    host_.FilesCounter();
}

// A key pressed in the list; true when it was a shortcut.
bool TF_PcxView::ListKey(UINT key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (control && key == 'C') {
        C2CProc();
    } else if (control && key == 'S') {
        SaveGif();
    } else if (!control && key == VK_DELETE) {
        DeleteKey();
    } else {
        return false;
    }
    return true;
}

// Delete from the keyboard, where a slip is easy: asked first.
// The files are taken, with their folder, before the question: its box takes
// the activation, the main window stays usable meanwhile (the snapshot folder
// may change), and the viewer lists its folder afresh when it gets it back.
void TF_PcxView::DeleteKey() {
    const std::vector<std::string> files = selectedFiles();
    if (files.empty() || !confirmDelete(static_cast<int>(files.size()))) return;
    deleteFiles(files);
}

void TF_PcxView::BrowseProc() {
    on_demand::ShellExecuteA(host_.HostWindow(), nullptr, host_.SnapshotFolder().c_str(), "", "",
                             SW_SHOWNORMAL);
}

void TF_PcxView::ExitProc() { foundFiles_.clear(); }

LRESULT TF_PcxView::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) ActiveX();
        break;
    case WM_TIMER:
        if (wp == kFillTimerId) {
            fillSlice();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wp) == LB) {
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (lp == -1) GetCursorPos(&at);  // from the keyboard
            TrackPopupMenu(PopM1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
            return 0;
        }
        break;
    case WM_VKEYTOITEM:
        if (reinterpret_cast<HWND>(lp) == LB && ListKey(LOWORD(wp))) return -2;
        return -1;  // the list's own handling
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) == CB_SHOW && CB_SHOW) {
            if (HIWORD(wp) == CBN_SELCHANGE) {
                gameOnly_ = ListIndex(CB_SHOW) == 1;
                ActiveX();
            }
            return 0;
        }
        switch (LOWORD(wp)) {
        case kIdList:
            if (HIWORD(wp) == LBN_SELCHANGE) ShowPcx();
            return 0;
        case kIdBrowse:
            BrowseProc();
            return 0;
        case kIdCopy:
            C2CProc();
            return 0;
        case kIdSave:
            SaveGif();
            return 0;
        case kIdDelete:
            DelPic();
            return 0;
        }
        break;
    case WM_DESTROY:
        KillTimer(hwnd(), kFillTimerId);
        ExitProc();
        break;
    }
    return BorderlessForm::handleMessage(msg, wp, lp);
}

}  // namespace qv
