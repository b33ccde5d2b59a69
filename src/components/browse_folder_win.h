// TBrowseFolder: the shell's folder-browsing dialog, with an optional status
// line showing the selected path, an optional extra push button and events.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "ui/window_win.h"

namespace qv {

enum class TBrowseInfoFlags {
    bfFileSysDirsOnly,
    bfDontGoBelowDomain,
    bfStatusText,
    bfFileSysAncestors,
    bfBrowseForComputer,
    bfBrowseForPrinter,
};

// The dialog's flag value of each member.
UINT BrowseInfoFlagValue(TBrowseInfoFlags flag);

class TBrowseInfoFlagSet {
public:
    TBrowseInfoFlagSet() = default;
    TBrowseInfoFlagSet(std::initializer_list<TBrowseInfoFlags> flags);
    bool contains(TBrowseInfoFlags flag) const { return (members_ & bit(flag)) != 0; }
    void include(TBrowseInfoFlags flag) { members_ |= bit(flag); }
    void exclude(TBrowseInfoFlags flag) { members_ = std::uint8_t(members_ & ~bit(flag)); }
    // The bitwise or of the flag values of the members.
    UINT flagWord() const;

private:
    static std::uint8_t bit(TBrowseInfoFlags flag) { return std::uint8_t(1u << int(flag)); }
    std::uint8_t members_ = 0;
};

// Root folders of the tree: the shell's special-folder numbers.
enum class TSHFolders : int {
    foDesktopExpanded = -1,  // no root: the tree starts at the desktop, expanded
    foDesktop = 0,
    foPrograms = 2,
    foControlPanel = 3,
    foPrinters = 4,
    foPersonal = 5,
    foFavorites = 6,
    foStartup = 7,
    foRecent = 8,
    foSendto = 9,
    foRecycleBin = 10,
    foStartMenu = 11,
    foDesktopDirectory = 16,
    foMyComputer = 17,
    foNetwork = 18,
    foNetworkNeighborhood = 19,
    foFonts = 20,
    foTemplates = 21,
};

class TBrowseFolder {
public:
    static constexpr int kCustomButtonId = 255;
    static constexpr int kDefaultCustomButtonWidth = 75;

    // owner: the window the component sits on (may be null).
    explicit TBrowseFolder(const Window* owner = nullptr) : owner_(owner) {}
    TBrowseFolder(const TBrowseFolder&) = delete;
    TBrowseFolder& operator=(const TBrowseFolder&) = delete;

    // Shows the modal dialog. True, with Directory set, when a folder was
    // chosen; false when the user cancelled.
    bool Execute();

    // Selected first when the dialog opens, if it exists; the choice afterwards.
    const std::string& Directory() const { return directory_; }
    void SetDirectory(std::string value) { directory_ = std::move(value); }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string value) { title_ = std::move(value); }
    TBrowseInfoFlagSet Flags() const { return flags_; }
    void SetFlags(TBrowseInfoFlagSet value) { flags_ = value; }
    bool ShowPathInStatusArea() const { return showPathInStatusArea_; }
    void SetShowPathInStatusArea(bool value) { showPathInStatusArea_ = value; }
    TSHFolders RootFolder() const { return rootFolder_; }
    void SetRootFolder(TSHFolders value) { rootFolder_ = value; }
    bool CustomButtonVisible() const { return customButtonVisible_; }
    void SetCustomButtonVisible(bool value) { customButtonVisible_ = value; }
    // The two setters below also reach the extra button while it exists.
    bool CustomButtonEnabled() const { return customButtonEnabled_; }
    void SetCustomButtonEnabled(bool value);
    const std::string& CustomButtonCaption() const { return customButtonCaption_; }
    void SetCustomButtonCaption(std::string value);
    int CustomButtonWidth() const { return customButtonWidth_; }
    // A width of 0 or below stores the default width.
    void SetCustomButtonWidth(int value);
    // The extra button's enabled state follows the OK button's.
    bool SyncCustomButton() const { return syncCustomButton_; }
    void SetSyncCustomButton(bool value) { syncCustomButton_ = value; }

    // Owner window of the dialog, taken before the component's owner when it
    // is set and still a window.
    HWND OwnerWindow() const { return ownerWindow_; }
    void SetOwnerWindow(HWND value) { ownerWindow_ = value; }

    // Path of the current selection, kept up to date while the dialog is open.
    const std::string& SelectionPath() const { return selectionPath_; }
    // Image index the dialog returned for the chosen folder.
    int ImageIndex() const { return imageIndex_; }
    // The open dialog and its extra button; null when there is none.
    HWND DialogHandle() const { return dialog_; }
    HWND CustomButton() const { return customButton_; }

    std::function<void(TBrowseFolder& sender, HWND dialog)> OnInitialized;
    std::function<void(TBrowseFolder& sender, HWND dialog, LPCITEMIDLIST itemIdList,
                       const std::string& directory)>
        OnSelectionChanged;
    std::function<void(TBrowseFolder& sender, HWND dialog)> OnCustomButtonClick;

private:
    static int CALLBACK browseCallback(HWND dialog, UINT msg, LPARAM param, LPARAM data);
    struct DialogBinding;
    static LRESULT CALLBACK dialogSubclass(HWND dialog, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                           DWORD_PTR data);
    HWND dialogOwner() const;
    void dialogInitialized(HWND dialog);
    void selectionChanged(HWND dialog, LPCITEMIDLIST item);
    void createCustomButton();

    const Window* owner_;
    std::string directory_;
    std::string title_;
    TBrowseInfoFlagSet flags_;
    bool showPathInStatusArea_ = false;
    TSHFolders rootFolder_ = TSHFolders::foDesktopExpanded;
    bool customButtonVisible_ = false;
    bool customButtonEnabled_ = true;
    std::string customButtonCaption_;
    int customButtonWidth_ = kDefaultCustomButtonWidth;
    bool syncCustomButton_ = false;

    HWND ownerWindow_ = nullptr;
    HWND dialog_ = nullptr;
    HWND customButton_ = nullptr;
    char displayName_[MAX_PATH] = "";
    std::string selectionPath_;
    int imageIndex_ = 0;
};

}  // namespace qv
