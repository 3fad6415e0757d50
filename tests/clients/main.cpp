#include "test_registry.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return run_registered_tests(argc, argv);
}
