// TF_PcxView, the snapshot viewer: a borderless window that lists the
// emulator's snapshot files, shows the one picked, and copies it to the
// clipboard, saves it as a GIF file or deletes the selected files.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "components/label4move_win.h"
#include "ui/borderless_form_win.h"
#include "ui/busy_win.h"
#include "util/files_win.h"
#include "viewer/picture_box_win.h"

namespace qv {

// The current game, whose own snapshots the viewer can list alone.
struct GameSnapshots {
    std::string title;
    std::vector<std::string> files;  // full paths of the snapshots kept for it
};

// What the viewer needs of the window that opens it.
class SnapshotHost {
public:
    virtual std::string SnapshotFolder() const = 0;  // as the user typed it
    // The current game's snapshots after the viewer listed folder (which ends
    // in a backslash): those gone from it drop out of the game's record, but
    // only when the folder could be listed (listed holds its files).
    // Nothing when no game is current.
    virtual std::optional<GameSnapshots> CurrentGameSnapshots(
        const std::string& folder, const std::optional<std::vector<std::string>>& listed) = 0;
    virtual void FilesCounter() = 0;  // recounts after deleting
    virtual void ReportError(const std::string& text) = 0;
    virtual HWND HostWindow() const = 0;  // owns what the shell shows for the viewer

protected:
    ~SnapshotHost() = default;
};

class TF_PcxView : public BorderlessForm {
public:
    static constexpr int kClientWidth = 521;
    static constexpr int kClientHeight = 285;

    explicit TF_PcxView(SnapshotHost& host) : host_(host) {}
    ~TF_PcxView() override;

    // Creates the hidden window, owned by owner, and runs InitAll.
    bool create(HWND owner);

    // Handlers, under the names the product uses.
    void ActiveX();
    void ShowPcx();
    void C2CProc();
    void SaveGif();
    void DelPic();
    void BrowseProc();

    // Shows names, bare file names in the viewer folder, as the list's items
    // in their order, in place of what it held. What does not fit in one
    // short slice of work goes in later slices, between which the window
    // answers its messages; the items listed so far can be used meanwhile.
    void FillList(std::vector<std::string> names);
    // The folder is still being listed, or items still wait to be added.
    bool filling() const { return lister_.has_value() || fillNext_ < fillNames_.size(); }

    // Asks for the GIF file name, starting from the last one; nothing when
    // cancelled. The common save dialog unless a test puts its own answer.
    std::function<std::optional<std::string>(const std::string& last)> askSaveName;
    // Asks before the Delete key deletes that many files: a Yes/No box
    // unless a test answers.
    std::function<bool(int files)> confirmDelete;

    const std::string& viewerFolder() const { return viewerFolder_; }
    const std::string& lastSaveName() const { return lastSaveName_; }

    // Controls, under their product names.
    TOstrelLabel4Move* PL4M = nullptr;
    Label* L_INFO = nullptr;
    PictureBox SB;  // with the picture `Img`
    HWND LB = nullptr;
    HWND B_2 = nullptr;
    HWND CB_SHOW = nullptr;  // all snapshots, or the current game's only
    HMENU PopM1 = nullptr;

    static constexpr UINT_PTR kFillTimerId = 2;
    enum CommandId { kIdList = 201, kIdBrowse, kIdCopy, kIdSave, kIdDelete };

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool createControls();
    void InitAll();
    void ExitProc();
    void setStatus(const char* text);
    void announce(BusyScope& busy, const char* text);
    std::optional<std::string> runSaveDialog(const std::string& last);
    bool anySelected() const;
    void listSome(const std::function<bool()>& more);
    void listingEnded();
    void showChoices(const std::string& gameTitle);
    bool ListKey(UINT key);
    void DeleteKey();
    std::vector<std::string> selectedFiles() const;
    void deleteFiles(const std::vector<std::string>& files);
    std::optional<std::string> itemText(LRESULT index) const;
    void fillSlice();

    SnapshotHost& host_;
    std::string viewerFolder_;
    std::vector<std::string> foundFiles_;
    std::string lastSaveName_;
    std::vector<std::string> fillNames_;  // the items FillList still adds, from fillNext_
    std::optional<FolderLister> lister_;  // while the folder is being listed
    std::vector<std::string> listed_;     // every snapshot the listing found so far
    std::optional<GameSnapshots> game_;   // the current game's, as the refill began
    bool gameOnly_ = false;   // the choice: the current game's snapshots only
    bool listingFailed_ = false;  // the status line says the folder could not be listed
    std::string choicesFor_;  // the game title the choice's entries name
    std::size_t fillNext_ = 0;
};

}  // namespace qv
