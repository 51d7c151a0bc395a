#pragma once
// The two windows of the Help menu: every key and mouse gesture of the main window in
// one table (gathered from the window's actions and the floating view actions, so a key
// added later is listed without anyone remembering to), and About with the version and
// the licences of the libraries the viewer links. Each is made once, owned by the main
// window, and shown again when asked for.

class QDialog;

namespace vellmar {

class TMainForm;

QDialog& ShowKeysWindow(TMainForm& form);
QDialog& ShowAboutWindow(TMainForm& form);

}  // namespace vellmar
