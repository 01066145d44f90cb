// tambrel-print: prints without dialogs, for scripts and unattended runs.
#include "PrintCommandLine.h"

#include <QApplication>

int main(int argc, char **argv)
{
    PrintCommandLine::prepareEnvironment();
    QApplication app(argc, argv);
    return PrintCommandLine::run(app);
}
