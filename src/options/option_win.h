// TfrmOption: the options dialog's window over OptionModel, built from
// OptionForm. It mirrors the controls to the model, carries the drags of the
// item assignment (the list's and the grids' mouse, the capture, the drag
// cursor), and opens the font dialog.
#pragma once

#include <memory>
#include <string>

#include "forms/event_router.h"
#include "options/option_model.h"
#include "store/layout.h"
#include "store/registry.h"
#include "ui/form_window_win.h"

namespace tabcard {

class TfrmOption : public FormWindow {
 public:
  TfrmOption(RegistryBackend& store, const FontFace& standardFont, std::wstring helpFile);
  ~TfrmOption() override;

  // Creates the dialog over owner, runs FormCreate and shows it modally;
  // true when it closed with OK (and so saved).
  bool Execute(HWND owner);
  // The first start's save: created and loaded but never shown; nothing is
  // said when it fails.
  bool SaveUnshown(HWND owner);

  void cmdOKClick(const forms::EventArgs& e);
  void cmdHelpClick(const forms::EventArgs& e);
  void PageControl2Change(const forms::EventArgs& e);
  void rdoColWidthModeClick(const forms::EventArgs& e);
  void cmdUpDateKjnClick(const forms::EventArgs& e);
  void Button1Click(const forms::EventArgs& e);
  void cmdFontClick(const forms::EventArgs& e);
  void cmdSetClick(const forms::EventArgs& e);
  void cmdDelClick(const forms::EventArgs& e);
  void lstKojinItemMouseDown(const forms::EventArgs& e);
  void lstKojinItemMouseMove(const forms::EventArgs& e);
  void lstKojinItemMouseUp(const forms::EventArgs& e);
  void SGrdKjn1MouseDown(const forms::EventArgs& e);
  void SGrdKjn1MouseUp(const forms::EventArgs& e);
  void SGrdKjn2MouseDown(const forms::EventArgs& e);
  void SGrdKjn2MouseUp(const forms::EventArgs& e);

 protected:
  bool Fire(const char* control, forms::Event event, const forms::EventArgs& args) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnScaleChanged() override;

 private:
  class Controls;
  friend class Controls;

  void Create(HWND owner);
  // lstKojinItem's mouse, which a list box does not report as notifications.
  static LRESULT CALLBACK ItemListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                       UINT_PTR id, DWORD_PTR self);
  bool OnContextMenu(HWND from, LPARAM lp);

  RegistryBackend& store_;
  FontFace standardFont_;
  std::wstring helpFile_;
  std::unique_ptr<Controls> controls_;
  std::unique_ptr<OptionModel> model_;
  forms::EventRouter<TfrmOption> router_;
  HCURSOR dragCursor_ = nullptr;
  bool dragging_ = false;
};

}  // namespace tabcard
