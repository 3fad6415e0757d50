#pragma once
// Several QtTest classes in one program: each registers itself, and the program's main runs them all.

#include <QObject>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

inline std::vector<std::function<QObject*()>>& test_factories()
{
    static std::vector<std::function<QObject*()>> factories;
    return factories;
}

#define QV_REGISTER_TEST(Class) \
    static const bool Class##_registered = (test_factories().push_back([] { return new Class; }), true);

// Runs every registered class (or only the one named as first argument); non-zero when any failed.
inline int run_registered_tests(int argc, char** argv)
{
    int failed = 0;
    for (const auto& make : test_factories()) {
        std::unique_ptr<QObject> test(make());
        if (argc > 1 && argv[1][0] != '-' && test->metaObject()->className() != QByteArray(argv[1]))
            continue;
        std::vector<char*> args(argv, argv + argc);
        if (argc > 1 && argv[1][0] != '-')
            args.erase(args.begin() + 1);
        failed += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
    }
    return failed == 0 ? 0 : 1;
}
