#include "common/singleton.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Counts its lives; its destructor takes the singleton's lock, as the configuration store's
// save does, which must not deadlock.
struct Counted {
    static int made;
    static int destroyed;
    Counted() { ++made; }
    ~Counted() {
        std::lock_guard<std::mutex> guard(halyard::singletonOf<Counted>().lock());
        ++destroyed;
    }
};
int Counted::made = 0;
int Counted::destroyed = 0;

Counted* counted() {
    return halyard::singletonOf<Counted>().instance([] { return std::make_unique<Counted>(); });
}

TEST(Singleton, MadeOnceOnFirstUseAndAfreshOnlyAfterItsOwnerDestroyedIt) {
    Counted::made = Counted::destroyed = 0;
    std::vector<std::thread> users;
    std::vector<Counted*> seen(8);
    for (size_t i = 0; i < seen.size(); ++i) users.emplace_back([&seen, i] { seen[i] = counted(); });
    for (std::thread& user : users) user.join();
    EXPECT_EQ(Counted::made, 1);
    for (Counted* one : seen) EXPECT_EQ(one, seen.front());

    halyard::singletonOf<Counted>().destroy();
    EXPECT_EQ(Counted::destroyed, 1);
    halyard::singletonOf<Counted>().destroy();  // nothing left to destroy
    EXPECT_EQ(Counted::destroyed, 1);

    counted();
    EXPECT_EQ(Counted::made, 2);
    halyard::singletonOf<Counted>().destroy();
    EXPECT_EQ(Counted::destroyed, 2);
}

}  // namespace
