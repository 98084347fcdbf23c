// The one base of every form window (the palette and the dialogs): it
// creates the window from its form description at the DPI of its monitor,
// builds the controls, keeps them laid out, and turns window messages into
// the form's events (Show, Resize, Close, Timer, Click, Change, the grids'
// mouse events). A form class derives from it, dispatches the events to its
// handlers with a forms::Handler table, and gets a modal run for dialogs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "forms/form_event.h"
#include "ui/dpi_scale.h"
#include "ui/form_builder_win.h"
#include "ui/notice_tip_win.h"
#include "ui/window_win.h"

namespace tabcard {

// The message loop's keyboard navigation: TAB, Enter, Esc and mnemonics go
// through IsDialogMessage of the form that the message is for. True when
// the message was handled so.
bool RouteDialogMessage(MSG& msg);

class FormWindow : public Window {
 public:
  explicit FormWindow(const forms::FormDesc& form);

  const forms::FormDesc& form() const { return form_; }
  const BuiltForm& built() const { return built_; }
  const DpiScale& scale() const { return scale_; }
  // A control by its id in the form's enum.
  template <class Id>
  HWND ControlWindow(Id id) const {
    return WindowOf(forms::IdOf(id));
  }
  // A control's text as CP932, and setting it.
  template <class Id>
  std::string ControlText(Id id) const {
    return TextOf(forms::IdOf(id));
  }
  template <class Id>
  void SetControlText(Id id, std::string_view cp932) const {
    SetTextOf(forms::IdOf(id), cp932);
  }

  // Shows the window modally: owner disabled, a nested message loop until
  // EndModal, the owner enabled again before the window is destroyed. The
  // result: kModalOk, kModalCancel or what EndModal was given. A WM_QUIT
  // that ends the loop is posted again for the outer loop.
  int ShowModal(HWND owner);
  void EndModal(int result) { modalResult_ = result; }

 protected:
  // Creates the window (hidden) and its controls. owner: the owner window,
  // also the one whose monitor a centred form opens on.
  void CreateForm(HWND owner);
  // Runs the form class's handler of the event; false when it has none.
  virtual bool OnEvent(const forms::FormEvent& e) = 0;
  // Every message the base does not turn into an event, and those it does
  // after their event: default processing unless overridden.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }
  // After a DPI change, once fonts and places are scaled.
  virtual void OnScaleChanged() {}
  // Whether the form holds edits the user has not confirmed, which the end
  // of the Windows session would lose, and what the user is told about them.
  // Such a form asks Windows to wait (WM_QUERYENDSESSION answered FALSE, the
  // reason given with ShutdownBlockReasonCreate) until it is closed.
  virtual bool HasUnsavedChanges() { return false; }
  virtual std::wstring UnsavedReason() const { return {}; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) final;

 private:
  HWND WindowOf(int id) const;
  std::string TextOf(int id) const;
  void SetTextOf(int id, std::string_view cp932) const;
  bool Raise(const BuiltControl* c, forms::Event event, forms::FormEvent e = {});
  LRESULT OnNotify(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnCommand(UINT msg, WPARAM wp, LPARAM lp);
  void OnButtonClick(const BuiltControl& c);
  // An edit with a byte limit loses what was just entered beyond it.
  void HoldToLimit(const BuiltControl& edit);
  LRESULT OnQueryEndSession();
  LRESULT OnCtlColor(UINT msg, WPARAM wp, LPARAM lp);
  void OnClose();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void PlaceOnOwnerMonitor(HWND owner);

  const forms::FormDesc& form_;
  std::wstring className_;
  BuiltForm built_;
  DpiScale scale_;
  bool modal_ = false;
  int modalResult_ = forms::kModalNone;
  bool blocksSessionEnd_ = false;
  std::unique_ptr<NoticeTip> notice_;
};

}  // namespace tabcard
