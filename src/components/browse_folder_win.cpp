// TBrowseFolder: the shell's folder-browsing dialog.
#include "components/browse_folder_win.h"

#include <commctrl.h>
#include <objbase.h>

#include "components/short_path.h"
#include "util/files_win.h"
#include "util/handles_win.h"
#include "util/on_demand_win.h"

namespace qv {
namespace {

// Item identifier lists come from the shell's task allocator.
struct FreeItemList {
    static bool valid(LPITEMIDLIST list) { return list != nullptr; }
    void operator()(LPITEMIDLIST list) const { on_demand::CoTaskMemFree(list); }
};
using OwnedItemList = Owned<LPITEMIDLIST, FreeItemList>;

// The shell's dialog wants COM on the calling thread; whoever set it up first
// keeps it.
class ComScope {
public:
    ComScope()
        : initialised_(SUCCEEDED(on_demand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) on_demand::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

std::string PathOf(LPCITEMIDLIST item, bool* fileSystem = nullptr) {
    char path[MAX_PATH] = "";
    const bool found = item != nullptr && on_demand::SHGetPathFromIDListA(item, path);
    if (fileSystem) *fileSystem = found;
    return found ? path : "";
}

}  // namespace

// What the component keeps on the open dialog, in the dialog's subclass
// (the dialog's own window data belongs to the shell). Freed with the dialog.
struct TBrowseFolder::DialogBinding {
    TBrowseFolder* self;
    std::string preselection;  // read by the repeated request the dialog gets posted
};

UINT BrowseInfoFlagValue(TBrowseInfoFlags flag) {
    switch (flag) {
    case TBrowseInfoFlags::bfFileSysDirsOnly:
        return BIF_RETURNONLYFSDIRS;  // 0x1
    case TBrowseInfoFlags::bfDontGoBelowDomain:
        return BIF_DONTGOBELOWDOMAIN;  // 0x2
    case TBrowseInfoFlags::bfStatusText:
        return BIF_STATUSTEXT;  // 0x4
    case TBrowseInfoFlags::bfFileSysAncestors:
        return BIF_RETURNFSANCESTORS;  // 0x8
    case TBrowseInfoFlags::bfBrowseForComputer:
        return BIF_BROWSEFORCOMPUTER;  // 0x1000
    case TBrowseInfoFlags::bfBrowseForPrinter:
        return BIF_BROWSEFORPRINTER;  // 0x2000
    }
    return 0;
}

TBrowseInfoFlagSet::TBrowseInfoFlagSet(std::initializer_list<TBrowseInfoFlags> flags) {
    for (TBrowseInfoFlags flag : flags)
        include(flag);
}

UINT TBrowseInfoFlagSet::flagWord() const {
    UINT word = 0;
    for (TBrowseInfoFlags flag :
         {TBrowseInfoFlags::bfFileSysDirsOnly, TBrowseInfoFlags::bfDontGoBelowDomain,
          TBrowseInfoFlags::bfStatusText, TBrowseInfoFlags::bfFileSysAncestors,
          TBrowseInfoFlags::bfBrowseForComputer, TBrowseInfoFlags::bfBrowseForPrinter}) {
        if (contains(flag)) word |= BrowseInfoFlagValue(flag);
    }
    return word;
}

void TBrowseFolder::SetCustomButtonEnabled(bool value) {
    customButtonEnabled_ = value;
    if (customButton_) EnableWindow(customButton_, value);
}

void TBrowseFolder::SetCustomButtonCaption(std::string value) {
    customButtonCaption_ = std::move(value);
    if (customButton_) SetWindowTextA(customButton_, customButtonCaption_.c_str());
}

void TBrowseFolder::SetCustomButtonWidth(int value) {
    customButtonWidth_ = value > 0 ? value : kDefaultCustomButtonWidth;
}

HWND TBrowseFolder::dialogOwner() const {
    if (ownerWindow_ && IsWindow(ownerWindow_)) return ownerWindow_;
    if (owner_ && IsWindow(owner_->hwnd())) return owner_->hwnd();
    // Otherwise the application's window that is active on this thread.
    return GetActiveWindow();
}

bool TBrowseFolder::Execute() {
    ComScope com;
    const HWND owner = dialogOwner();
    OwnedItemList root;
    if (rootFolder_ != TSHFolders::foDesktopExpanded) {
        LPITEMIDLIST list = nullptr;
        if (SUCCEEDED(on_demand::SHGetSpecialFolderLocation(owner, static_cast<int>(rootFolder_),
                                                            &list))) {
            root.reset(list);
        }
    }

    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName_;
    info.lpszTitle = title_.c_str();
    info.ulFlags = flags_.flagWord();
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    OwnedItemList chosen(on_demand::SHBrowseForFolderA(&info));
    // The dialog, its extra button and our procedure went with it.
    dialog_ = nullptr;
    customButton_ = nullptr;
    if (!chosen) return false;

    directory_ = PathOf(chosen.get());
    selectionPath_ = directory_;
    imageIndex_ = info.iImage;
    return true;
}

int CALLBACK TBrowseFolder::browseCallback(HWND dialog, UINT msg, LPARAM param, LPARAM data) {
    auto* self = reinterpret_cast<TBrowseFolder*>(data);
    switch (msg) {
    case BFFM_INITIALIZED:
        self->dialogInitialized(dialog);
        break;
    case BFFM_SELCHANGED:
        self->selectionChanged(dialog, reinterpret_cast<LPCITEMIDLIST>(param));
        break;
    }
    return 0;
}

void TBrowseFolder::dialogInitialized(HWND dialog) {
    dialog_ = dialog;
    // Centred across the window in front, a quarter of its height down.
    RECT front{};
    RECT own{};
    if (HWND foreground = GetForegroundWindow();
        foreground && GetWindowRect(foreground, &front) && GetWindowRect(dialog, &own)) {
        const int left = front.left + (front.right - front.left) / 2 - (own.right - own.left) / 2;
        const int top = front.top + (front.bottom - front.top) / 4;
        SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto* binding = new DialogBinding{this, directory_};
    if (!on_demand::SetWindowSubclass(dialog, dialogSubclass, 0,
                                      reinterpret_cast<DWORD_PTR>(binding))) {
        delete binding;
        binding = nullptr;
    }
    if (FolderExists(directory_)) {
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                     reinterpret_cast<LPARAM>(directory_.c_str()));
        // Asked once more when the dialog is up: a shell still filling its
        // tree may pass over the first request (the first dialog of a process
        // under Wine does). The text posted is the dialog's own copy, so a
        // Directory changed meanwhile cannot take it away.
        if (binding) {
            PostMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(binding->preselection.c_str()));
        }
    }
    if (customButtonVisible_) createCustomButton();
    if (OnInitialized) OnInitialized(*this, dialog);
}

void TBrowseFolder::selectionChanged(HWND dialog, LPCITEMIDLIST item) {
    bool fileSystem = false;
    selectionPath_ = PathOf(item, &fileSystem);
    if (showPathInStatusArea_) {
        const std::string shown = ShortenPath(selectionPath_);
        SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    // Only an item with a file-system path can be chosen. Posted: some shells
    // set OK by their own rule after this notification, and ours must stand.
    PostMessageA(dialog, BFFM_ENABLEOK, 0, fileSystem);
    if (syncCustomButton_) SetCustomButtonEnabled(fileSystem);
    if (OnSelectionChanged) OnSelectionChanged(*this, dialog, item, selectionPath_);
}

void TBrowseFolder::createCustomButton() {
    customButton_ = CreateWindowExA(0, "BUTTON", customButtonCaption_.c_str(),
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 12, 280,
                                    customButtonWidth_, 23, dialog_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCustomButtonId)),
                                    GetModuleHandleA(nullptr), nullptr);
    SendMessageA(customButton_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    EnableWindow(customButton_, customButtonEnabled_);
}

// Ahead of the dialog's own procedure: the extra button's click is ours,
// everything else goes on to the dialog.
LRESULT CALLBACK TBrowseFolder::dialogSubclass(HWND dialog, UINT msg, WPARAM wp, LPARAM lp,
                                               UINT_PTR, DWORD_PTR data) {
    auto* binding = reinterpret_cast<DialogBinding*>(data);
    TBrowseFolder& self = *binding->self;
    switch (msg) {
    case WM_COMMAND:
        if (self.customButton_ && LOBYTE(LOWORD(wp)) == kCustomButtonId) {
            // The program has no design mode, so the click is always an event.
            if (self.OnCustomButtonClick) self.OnCustomButtonClick(self, dialog);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        on_demand::RemoveWindowSubclass(dialog, dialogSubclass, 0);
        delete binding;
        break;
    }
    return on_demand::DefSubclassProc(dialog, msg, wp, lp);
}

}  // namespace qv
