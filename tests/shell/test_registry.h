// Test classes register themselves here so that one program runs them all.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace vx::shell::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<TestFactory>& TestRegistry() {
    static std::vector<TestFactory> registry;
    return registry;
}

template <class T>
struct RegisterTest {
    RegisterTest() {
        TestRegistry().push_back([] { return std::make_unique<T>(); });
    }
};

}  // namespace vx::shell::test
