#pragma once
// Every modal dialog of the program is run through execModal, so tests can answer it
// without a blocking event loop.

#include <functional>

class QDialog;

// The results a button ends a dialog with (its ModalResult); 0 is no result: the click leaves
// the dialog open. kModalOk is also QDialog::Accepted, so accept() reads as OK.
constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;
constexpr int kModalAbort = 3;
constexpr int kModalRetry = 4;
constexpr int kModalIgnore = 5;
constexpr int kModalYes = 6;
constexpr int kModalNo = 7;
constexpr int kModalAll = 8;

// Runs the dialog modally above the topmost window of ours and returns its result
// (QDialog::Accepted, Rejected or a modal result set by a button); the focus then goes back
// to the window that had it.
int execModal(QDialog& dialog);

// Tests install a handler that acts on the dialog (set fields, press buttons) and returns
// the result; an empty function restores real modal runs.
using ModalHandler = std::function<int(QDialog& dialog)>;
void setModalHandler(ModalHandler handler);
