#include "TambrelOutForm.h"
#include "ui/ProgramStart.h"

int main(int argc, char **argv)
{
    ProgramStart::Program program;
    program.name = QStringLiteral("TambrelOut");
    program.title = QStringLiteral("伝票印刷");
    program.createMainWindow = [](const QStringList &arguments) {
        return std::make_unique<TTambrelOutForm>(arguments.value(0));
    };
    return ProgramStart::Run(argc, argv, program);
}
