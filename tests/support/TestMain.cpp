#include "db/Database.h"
#include "ui/ProgramStart.h"
#include "ui/TambrelApplication.h"

#include <gtest/gtest.h>

// Every test program runs with the suite's application object (offscreen), the font
// substitutions of the suite, and stops the database engine at the end.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    TambrelApplication app(argc, argv);
    ProgramStart::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    Database::shutdownEngine();
    return rc;
}
