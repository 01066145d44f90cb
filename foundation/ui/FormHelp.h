#pragma once

class QWidget;

// F1 on the form opens the help page of its help context.
void InstallHelpKey(QWidget *form, int helpContext);
