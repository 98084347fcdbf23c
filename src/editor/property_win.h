// TfrmProperty: the profile editor's window over PropertyModel, MemoPage and
// ListPage, built from PropertyForm. It mirrors the controls to the models
// and keeps text that CP932 cannot hold from reaching them.
#pragma once

#include <memory>
#include <string>

#include "editor/list_page.h"
#include "editor/memo_page.h"
#include "editor/property_model.h"
#include "store/registry.h"
#include "ui/form_window_win.h"

namespace tabcard {

class TfrmProperty : public FormWindow {
 public:
  TfrmProperty(RegistryBackend& store, std::wstring helpFile);
  ~TfrmProperty() override;

  // Creates the dialog over owner, runs FormCreate and shows it modally;
  // true when it closed with OK.
  bool Execute(HWND owner);

 protected:
  bool OnEvent(const forms::FormEvent& e) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // A field, the memo box or the phrase list changed and not yet stored.
  bool HasUnsavedChanges() override;
  std::wstring UnsavedReason() const override;

 private:
  class Fields;
  class MemoControls;
  class ListControls;

  void PageControl1Change(const forms::FormEvent& e);
  void cboUser1Change(const forms::FormEvent& e);
  void cboUser2Change(const forms::FormEvent& e);
  void cboUser3Change(const forms::FormEvent& e);
  void cmdOKClick(const forms::FormEvent& e);
  void cmdHelpClick(const forms::FormEvent& e);
  void SGrdMemoClick(const forms::FormEvent& e);
  void SGrdMemoMouseUp(const forms::FormEvent& e);
  void SGrdMemoDblClick(const forms::FormEvent& e);
  void cmdMemoReadClick(const forms::FormEvent& e);
  void cmdMemoUpDateClick(const forms::FormEvent& e);
  void cmdMemoClrClick(const forms::FormEvent& e);
  void MemoChange(const forms::FormEvent& e);
  void cmdCopyClick(const forms::FormEvent& e);
  void cmdAddListClick(const forms::FormEvent& e);
  void cmdDeListClick(const forms::FormEvent& e);
  void cmdListUpClick(const forms::FormEvent& e);
  void cmdListDownClick(const forms::FormEvent& e);
  void ListBox1DblClick(const forms::FormEvent& e);

  // Whether every box of a field page can be stored; when not, the user has
  // been told and the character is selected.
  bool FieldPageStorable(int page);
  void UserChange(int list);

  RegistryBackend& store_;
  std::wstring helpFile_;
  std::unique_ptr<Fields> fields_;
  std::unique_ptr<MemoControls> memoControls_;
  std::unique_ptr<ListControls> listControls_;
  MemoPage memo_;
  ListPage list_;
  PropertyModel model_;
  bool readOnRelease_ = false;  // a double-click on the memo grid
};

}  // namespace tabcard
