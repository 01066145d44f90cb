#include "SlipEntryMain.h"

int main(int argc, char **argv)
{
    return SlipEntryMain(argc, argv, SlipType::Type22);
}
