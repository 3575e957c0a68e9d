// tkm9214: the TKM-9214 operator terminal from scripts and the shell.
#include "cli/Tool.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return Tool::run(arguments);
}
