#pragma once

class QDialog;
class QDialogButtonBox;

// The OK and Cancel buttons ("cmdOK", the default, and "cmdCancel") of a
// dialog, accepting and rejecting it.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
