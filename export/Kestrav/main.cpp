#include "KestravForm.h"
#include "ui/ProgramStart.h"

int main(int argc, char **argv)
{
    ProgramStart::Program program;
    program.name = QStringLiteral("Kestrav");
    program.title = QStringLiteral("エクスポート");
    program.createMainWindow = [](const QStringList &) { return std::make_unique<TKestravForm>(); };
    return ProgramStart::Run(argc, argv, program);
}
