// tambrel-export: slips or a master table into an .xlsx, without a window.
#include "ExportCommandLine.h"

int main(int argc, char **argv)
{
    return RunExportCommandLine(argc, argv);
}
