#include "BatchMode.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (IsBatchCommand(arguments))
        return RunBatchMode(arguments);
    std::fprintf(stderr, "usage: pellix --convert IN OUT | --check IN\n");
    return 64;
}
