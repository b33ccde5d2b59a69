// The snapshot viewer window.
#include "viewer/pcx_view_win.h"

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include "ui/graphics_win.h"
#include "ui/standard_controls_win.h"
#include "util/files_win.h"
#include "util/ravlen_files.h"
#include "util/system_win.h"
#include "util/text.h"
#include "viewer/load_pcx_win.h"
#include "viewer/snapshot_gif_win.h"

namespace qv {
namespace {

constexpr COLORREF kStatusColour = RGB(0, 0, 255);
constexpr int kListLeft = 8;
constexpr int kListWidth = 113;

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
    SetTimer(hwnd(), kTimerId, 100, nullptr);
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
    L_INFO->setCaption("READY");

    Img_Exit = &addImage(500, 0, 21, 18);
    Img_Exit->setAutoSize(true);
    Img_Exit->setVisible(false);
    Img_Exit->onClick = [this](GraphicControl&) { HideProc(); };

    if (!SB.create(hwnd(), 128, 32, 384, 224)) return false;
    SB.setRanges(384, 224);

    LB = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                             LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                         kListLeft, 32, kListWidth, 225, hwnd(),
                         reinterpret_cast<HMENU>(INT_PTR(kIdList)), GetModuleHandleA(nullptr),
                         nullptr);
    SendMessageA(LB, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(11)), FALSE);
    SendMessageA(LB, LB_SETITEMHEIGHT, 0, 13);

    B_2 = CreatePushButton(hwnd(), "...", 13, 262, 17, 17, kIdBrowse);

    PopM1 = CreatePopupMenu();
    AppendMenuA(PopM1, MF_STRING, kIdCopy, "&Copy to Clipboard");
    AppendMenuA(PopM1, MF_STRING, kIdSave, "&Save to Gif");
    AppendMenuA(PopM1, MF_STRING, kIdDelete, "&Delete Image");

    askSaveName = [this](const std::string& last) { return runSaveDialog(last); };
    return LB && B_2 && PopM1;
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
    const int below = top.height();
    Image& left = bar("_LBARPCX");
    left.setBounds(0, below, left.width(), left.height());
    Image& right = bar("_RBARPCX");
    right.setBounds(kClientWidth - right.width(), below, right.width(), right.height());
    Image& centre = bar("_CBARPCX");
    centre.setBounds(kListLeft + kListWidth - 2, below, centre.width(), centre.height());
    Image& bottom = bar("_BBARPCX");
    bottom.setBounds(0, centre.bounds().top + centre.height(), bottom.width(), bottom.height());

    Img_Exit->loadPicture("_B_PCXE");
    foundFiles_.clear();
    PL4M->setCaption("");
}

void TF_PcxView::ActiveX() {
    SendMessageA(LB, LB_RESETCONTENT, 0, 0);
    // One backslash at the end, also for a folder given with one (a drive root).
    viewerFolder_ = ReplaceFirst("\\\\", "\\", host_.SnapshotFolder() + "\\");
    foundFiles_ = FolderExists(viewerFolder_) ? ListFiles(viewerFolder_, kSnapshotMask, "N")
                                              : std::vector<std::string>{};
    for (const std::string& file : foundFiles_) {
        SendMessageA(LB, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(file.substr(viewerFolder_.size()).c_str()));
    }
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

void TF_PcxView::setStatus(const char* text, bool repaintNow) {
    L_INFO->setCaption(text);
    if (repaintNow) {
        UpdateWindow(hwnd());
        ProcessMessages();
    }
}

void TF_PcxView::ShowPcx() {
    if (!anySelected()) return;
    setStatus("Loading...", true);
    // The focused item: the one last clicked or moved to, selected or not.
    if (const std::optional<std::string> item =
            itemText(SendMessageA(LB, LB_GETCARETINDEX, 0, 0))) {
        LoadPcx(SB.pictureSlot(), viewerFolder_ + *item);
    }
    const SIZE size = SB.pictureSize();
    SB.setRanges(size.cx, size.cy);
    setStatus("READY", false);
}

void TF_PcxView::C2CProc() {
    setStatus("Copying...", true);
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
    setStatus("READY", false);
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
    if (!GetSaveFileNameA(&dialog)) return std::nullopt;
    return std::string(name);
}

void TF_PcxView::SaveGif() {
    if (!anySelected()) return;
    const std::optional<std::string> name = askSaveName(lastSaveName_);
    if (!name) return;
    lastSaveName_ = *name;
    setStatus("Saving...", true);
    try {
        SaveSnapshotGif(SB.picture(), *name);
    } catch (const EFCreateError& error) {
        // The status stays on "Saving..." after a failed save.
        host_.ReportError(error.what());
        return;
    }
    setStatus("READY", false);
}

void TF_PcxView::DelPic() {
    const LRESULT count = SendMessageA(LB, LB_GETCOUNT, 0, 0);
    if (count <= 0 || !anySelected()) return;
    for (LRESULT i = count - 1; i >= 0; --i) {
        if (SendMessageA(LB, LB_GETSEL, i, 0) <= 0) continue;
        if (const std::optional<std::string> item = itemText(i)) {
            DeleteFileA((viewerFolder_ + *item).c_str());
        }
    }
    ActiveX();
    host_.FilesCounter();
}

void TF_PcxView::TimeProc() {
    Img_Exit->setVisible(IsWindowVisible(hwnd()) && PointerStrictlyInside(*Img_Exit));
}

void TF_PcxView::HideProc() { ShowWindow(hwnd(), SW_HIDE); }

void TF_PcxView::BrowseProc() {
    ShellExecuteA(host_.HostWindow(), nullptr, host_.SnapshotFolder().c_str(), "", "",
                  SW_SHOWNORMAL);
}

void TF_PcxView::ExitProc() { foundFiles_.clear(); }

LRESULT TF_PcxView::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) ActiveX();
        break;
    case WM_TIMER:
        if (wp == kTimerId) TimeProc();
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wp) == LB) {
            POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (lp == -1) GetCursorPos(&at);  // from the keyboard
            TrackPopupMenu(PopM1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
            return 0;
        }
        break;
    case WM_COMMAND:
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
    case WM_CLOSE:
        HideProc();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kTimerId);
        ExitProc();
        return 0;
    }
    return Container::handleMessage(msg, wp, lp);
}

}  // namespace qv
