// TfrmOption: the options dialog's window over OptionModel, built from
// OptionForm. It mirrors the controls to the model, carries the drags of the
// item assignment (the list's and the grids' mouse, the capture, the drag
// cursor), and opens the font dialog.
#pragma once

#include <memory>
#include <string>

#include "options/option_model.h"
#include "options/startup_shortcut_win.h"
#include "store/layout.h"
#include "store/registry.h"
#include "ui/form_window_win.h"

namespace tabcard {

class TfrmOption : public FormWindow {
 public:
  // registrar: who holds the hotkeys, the palette's window.
  TfrmOption(RegistryBackend& store, const FontFace& standardFont, std::wstring helpFile,
             HotKeyRegistrar& registrar);
  ~TfrmOption() override;

  // Creates the dialog over owner, runs FormCreate and shows it modally;
  // true when it closed with OK (and so saved). Otherwise the stored
  // hotkeys are registered again.
  bool Execute(HWND owner);

 protected:
  bool OnEvent(const forms::FormEvent& e) override;
  bool HasUnsavedChanges() override { return model_ && model_->HasUnsavedChanges(); }
  std::wstring UnsavedReason() const override { return L"オプションの変更が保存されていません"; }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnScaleChanged() override;

 private:
  class Controls;
  friend class Controls;

  void cmdOKClick(const forms::FormEvent& e);
  void cmdHelpClick(const forms::FormEvent& e);
  void PageControl2Change(const forms::FormEvent& e);
  void rdoColWidthModeClick(const forms::FormEvent& e);
  void cmdUpDateKjnClick(const forms::FormEvent& e);
  void Button1Click(const forms::FormEvent& e);
  void cmdFontClick(const forms::FormEvent& e);
  void cmdSetClick(const forms::FormEvent& e);
  void cmdDelClick(const forms::FormEvent& e);
  void cboFormChange(const forms::FormEvent& e);
  void SGrdKjnChange(const forms::FormEvent& e);
  void cmdClearShowClick(const forms::FormEvent& e);
  void cmdClearStepClick(const forms::FormEvent& e);
  void cmdSwitchPasteKeyClick(const forms::FormEvent& e);
  void cmdDelPasteKeyClick(const forms::FormEvent& e);
  void lstKojinItemMouseDown(const forms::FormEvent& e);
  void lstKojinItemMouseUp(const forms::FormEvent& e);
  void SGrdKjn1MouseDown(const forms::FormEvent& e);
  void SGrdKjn1MouseUp(const forms::FormEvent& e);
  void SGrdKjn2MouseDown(const forms::FormEvent& e);
  void SGrdKjn2MouseUp(const forms::FormEvent& e);

  void Create(HWND owner);
  // The list's mouse as a form event of lstKojinItem.
  void RaiseListMouse(forms::Event event, UINT msg, LPARAM lp);
  // lstKojinItem's mouse, which a list box does not report as notifications.
  static LRESULT CALLBACK ItemListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                       UINT_PTR id, DWORD_PTR self);
  bool OnContextMenu(HWND from, LPARAM lp);

  RegistryBackend& store_;
  FontFace standardFont_;
  std::wstring helpFile_;
  HotKeyRegistrar& registrar_;
  StartupShortcutWin startup_;
  std::unique_ptr<Controls> controls_;
  std::unique_ptr<OptionModel> model_;
  HCURSOR dragCursor_ = nullptr;
  bool dragging_ = false;
};

}  // namespace tabcard
