// Keeps the tray icon deaf to the mouse while a dialog of the tray menu is
// open: off when made, on again however the scope is left.
#pragma once

#include "app/MainForm.h"

class TTrayCallbackOff {
 public:
  explicit TTrayCallbackOff(TfrmMain& form) : form_(form) { form_.SetTrayCallback(false); }
  // A second try when the shell refuses the first: a deaf icon would leave
  // the menu, and Exit with it, out of reach.
  ~TTrayCallbackOff() {
    try {
      if (!form_.SetTrayCallback(true)) form_.SetTrayCallback(true);
    } catch (...) {
    }
  }
  TTrayCallbackOff(const TTrayCallbackOff&) = delete;
  TTrayCallbackOff& operator=(const TTrayCallbackOff&) = delete;

 private:
  TfrmMain& form_;
};
