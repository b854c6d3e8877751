// Runs every test class of the window tests; the exit code counts the failed classes.
#include <QApplication>
#include <QTest>

#include "test_registry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (const auto& factory : vx::shell::test::TestRegistry()) {
        std::unique_ptr<QObject> test = factory();
        if (QTest::qExec(test.get(), argc, argv) != 0) ++failed;
    }
    return failed;
}
