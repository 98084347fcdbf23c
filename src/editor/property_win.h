// TfrmProperty: the profile editor's window over PropertyModel, MemoPage and
// ListPage, built from PropertyForm. It mirrors the controls to the models
// and keeps text that CP932 cannot hold from reaching them.
#pragma once

#include <memory>
#include <string>

#include "editor/list_page.h"
#include "editor/memo_page.h"
#include "editor/property_model.h"
#include "forms/event_router.h"
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

  void PageControl1Change(const forms::EventArgs& e);
  void cboUser1Change(const forms::EventArgs& e);
  void cboUser2Change(const forms::EventArgs& e);
  void cboUser3Change(const forms::EventArgs& e);
  void cmdOKClick(const forms::EventArgs& e);
  void cmdCancelClick(const forms::EventArgs& e);
  void cmdHelpClick(const forms::EventArgs& e);
  void SGrdMemoClick(const forms::EventArgs& e);
  void SGrdMemoMouseUp(const forms::EventArgs& e);
  void SGrdMemoDblClick(const forms::EventArgs& e);
  void cmdMemoReadClick(const forms::EventArgs& e);
  void cmdMemoUpDateClick(const forms::EventArgs& e);
  void cmdMemoClrClick(const forms::EventArgs& e);
  void MemoChange(const forms::EventArgs& e);
  void cmdCopyClick(const forms::EventArgs& e);
  void cmdAddListClick(const forms::EventArgs& e);
  void cmdDeListClick(const forms::EventArgs& e);
  void cmdListUpClick(const forms::EventArgs& e);
  void cmdListDownClick(const forms::EventArgs& e);
  void ListBox1DblClick(const forms::EventArgs& e);

 protected:
  bool Fire(const char* control, forms::Event event, const forms::EventArgs& args) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  class Fields;
  class MemoControls;
  class ListControls;

  // Whether every box of a field page can be stored; when not, the user has
  // been told and the character is selected.
  bool FieldPageStorable(int page);
  void UserChange(int list);
  void Warn(const wchar_t* text, const wchar_t* caption);

  RegistryBackend& store_;
  std::wstring helpFile_;
  std::unique_ptr<Fields> fields_;
  std::unique_ptr<MemoControls> memoControls_;
  std::unique_ptr<ListControls> listControls_;
  MemoPage memo_;
  ListPage list_;
  PropertyModel model_;
  forms::EventRouter<TfrmProperty> router_;
  bool readOnRelease_ = false;  // a double-click on the memo grid
};

}  // namespace tabcard
