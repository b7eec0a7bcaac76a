// The main window: the form, the entry table, and the event table that routes every command.
#pragma once

#include "entries/EntryTable.h"
#include "entries/UndoHistory.h"
#include "storage/EntryFile.h"

#include <wx/dialog.h>
#include <wx/icon.h>
#include <wx/menu.h>

#include <memory>
#include <string>

class wxComboBox;
class wxStaticText;
class wxTextCtrl;
class wxPaintEvent;

class CMainDialog : public wxDialog
{
public:
    CMainDialog();
    ~CMainDialog() override;

    // The modal run: opening, the user's commands, closing; the window is destroyed before it returns.
    int DoModal();

    // The field exchange between the form's controls and the three edit buffers.
    void PullFields();
    void PushFields();

    // Table operations that keep the form's texts.
    void RefreshRowCount();
    void ReverseRows();

    // Form operations used by the commands, the data file and the report.
    void ClearFields();
    void RowToFields(int nRow);
    void InsertFieldsAsTopRow();
    bool FindDuplicate();
    // The line under the list: the number of entries and their total.
    void ShowLogSummary();
    // The Add command's steps; true when a row was added.
    bool AddFormEntry();
    // Before the window closes: offers to add a typed entry that is not in the list yet. True when
    // the window may close.
    bool ConfirmClose();

    // Undo and redo of the last change to the table, each written at once like any change.
    void UndoLastChange();
    void RedoLastChange();
    // The window menu's Undo and Redo items, named after the step they would take.
    void RefreshUndoItems();

    // The opening and destruction steps.
    bool OnInitDialog();
    void OnDestroy();
    void OnSysCommand(unsigned nID, long nParam);
    // A termination signal: the table is written first, then the dialogs end, innermost first; nothing
    // on the way waits for the user.
    void EndOnSignal();
    // The run ended on a signal and its last save failed.
    bool IsSignalSaveFailed() const { return m_bEndingOnSignal && m_bLastSaveFailed; }
    const wxIcon& OnQueryDragIcon() const { return m_hIcon; }

    // The data file, the date picker and the window menu.
    void LoadEntries();
    void SaveEntries();
    // Writes the table to the data file at once, after every change, so no session's work is lost.
    void WriteTableNow();
    // Writes the table to the data file safely; a failure is reported. Changes another writer made
    // to the file meanwhile are merged in and the list shows the merge; with bTellChanges the user
    // is told what came in, and once per run that a save could not be made atomically.
    void SaveTable(bool bTellChanges = false);
    std::string PickDate();
    void AppendAboutItem();
    // The window's own menu, standing in for the system menu that GTK's window manager keeps.
    wxMenu* GetSystemMenu();

    std::string m_strReportPath;
    int m_nRowCount = 0;
    CEntryTable m_listEntries;
    std::string m_strDescription;
    std::string m_strDate;
    std::string m_strOvertime;
    wxIcon m_hIcon;
    CEntryFile m_entryFile;
    CUndoHistory m_undoHistory;
    // Benchmarks time the commands apart from the write that follows them.
    bool m_bWriteEachChange = true;

private:
    void OnInitDialogEvent(wxInitDialogEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnCloseWindow(wxCloseEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnUpdate(wxCommandEvent& event);
    void OnClear(wxCommandEvent& event);
    void OnReport(wxCommandEvent& event);
    void OnHelpPage(wxCommandEvent& event);
    void OnSelectDate(wxCommandEvent& event);
    void OnClickList(wxCommandEvent& event);
    void OnMarkList(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnWindowKeys(wxKeyEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnUndoItem(wxCommandEvent& event);
    void OnRedoItem(wxCommandEvent& event);
    void OnSystemMenuItem(wxCommandEvent& event);
    void ShowSystemMenu(const wxPoint& screenPos);

    // Ends the modal run with the OK or the Cancel command's code.
    void EndDialogRun(int nCode);
    // The merged table in the list, the selection mark kept on its entry if that is still there.
    void ShowMergedTable(const EntryMergeResult& merge);
    // The three texts the form's controls show.
    EntryRow GetFormTexts() const;
    // On Add and Update: an overtime that would count as something else than it says is confirmed.
    bool ConfirmOvertime(bool bUpdate);
    void ApplyHistoryStep(bool bRedo);

    wxTextCtrl* m_pDescription = nullptr;
    wxTextCtrl* m_pDate = nullptr;
    wxComboBox* m_pOvertime = nullptr;
    wxStaticText* m_pStatusLine = nullptr;
    bool m_bDestroyed = false;
    bool m_bToldInPlace = false;
    bool m_bEndingOnSignal = false;
    bool m_bLastSaveFailed = false;
    // The form as the last row loaded into it or added from it left it; closing asks only about
    // a form that differs from that.
    EntryRow m_formEntered;
    std::unique_ptr<wxMenu> m_pSystemMenu;

    wxDECLARE_EVENT_TABLE();
};
