#include "brokerconfig/broker_config_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "common/file_store.h"
#include "support/temp_folder.h"

using halyard::readWholeFile;
using halyard::replaceFileAtomically;
using halyard::withPlatformLineEnds;

namespace {

std::string brokersFile(const std::string& select, const std::string& brokers) {
    return withPlatformLineEnds("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Brokers Select=\"" + select +
                                "\">\n" + brokers + "</Brokers>\n");
}

std::string broker(const std::string& name, const std::string& windowName) {
    return "    <Broker WindowName=\"" + windowName + "\" Name=\"" + name +
           "\">\n"
           "        <ButtonPositions>\n"
           "            <ButtonPosition Name=\"买入按钮\" y=\"10\" x=\"20\"/>\n"
           "        </ButtonPositions>\n"
           "        <PositionColumnName>\n"
           "            <ColumnName Name2=\"证券代码\" Name1=\"证券代码\"/>\n"
           "        </PositionColumnName>\n"
           "        <CommitColumnName/>\n"
           "    </Broker>\n";
}

// One store over a test folder, destroyed (and so saved) when the fixture ends or on close().
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { BrokerConfigStore::setFolder(dir.folder()); }
    void TearDown() override { BrokerConfigStore::destroyInstance(); }

    void writeFile(const std::string& bytes) { ASSERT_TRUE(replaceFileAtomically(path(), bytes)); }
    std::string fileBytes() {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(path(), bytes));
        return bytes;
    }
    std::wstring path() const { return dir.file(L"broker_config.xml"); }
    size_t filesInFolder() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
    }

    TempFolder dir;
};

}  // namespace

TEST_F(StoreTest, AWrittenFileLoadsAndSavesBackByteForByte) {
    const std::string original = brokersFile("乙", broker("甲", "甲交易") + broker("乙", "乙交易"));
    writeFile(original);
    BrokerConfigStore* store = BrokerConfigStore::instance();
    EXPECT_EQ(BrokerConfigStore::instance(), store);
    ASSERT_EQ(store->brokers().size(), 2u);
    ASSERT_NE(store->current, nullptr);
    EXPECT_EQ(store->current->windowName, L"乙交易");

    writeFile("changed on disk");
    BrokerConfigStore::destroyInstance();
    EXPECT_EQ(fileBytes(), original);
    EXPECT_EQ(filesInFolder(), 1u);
#ifdef _WIN32
    EXPECT_NE(original.find("\r\n    <Broker"), std::string::npos);
#endif
}

TEST_F(StoreTest, EmptySelectLoadsEverythingButLeavesTheFileUntouched) {
    const std::string original = brokersFile("", broker("甲", "a") + broker("乙", "b"));
    writeFile(original);
    BrokerConfigStore* store = BrokerConfigStore::instance();
    EXPECT_EQ(store->brokers().size(), 2u);
    EXPECT_EQ(store->current, nullptr);
    EXPECT_FALSE(store->save());
    store->brokers()[0]->windowName = L"changed in memory";
    BrokerConfigStore::destroyInstance();
    EXPECT_EQ(fileBytes(), original);
}

TEST_F(StoreTest, UnknownSelectMakesTheFirstCurrentAndIsRewritten) {
    writeFile(brokersFile("丙", broker("甲", "a") + broker("乙", "b")));
    BrokerConfigStore* store = BrokerConfigStore::instance();
    ASSERT_EQ(store->brokers().size(), 2u);
    EXPECT_EQ(store->current, store->brokers()[0]);
    BrokerConfigStore::destroyInstance();
    EXPECT_EQ(fileBytes(), brokersFile("甲", broker("甲", "a") + broker("乙", "b")));
}

TEST_F(StoreTest, DuplicateAndEmptyNamesResolveToTheFirst) {
    writeFile(brokersFile("乙", broker("", "none") + broker("乙", "first") + broker("乙", "second")));
    BrokerConfigStore* store = BrokerConfigStore::instance();
    ASSERT_EQ(store->brokers().size(), 3u);
    ASSERT_NE(store->current, nullptr);
    EXPECT_EQ(store->current->windowName, L"first");
    EXPECT_EQ(store->findByName(L"乙"), store->brokers()[1]);
    EXPECT_EQ(store->findByName(L""), store->brokers()[0]);
    EXPECT_EQ(store->findByName(L"乙 "), nullptr);
    EXPECT_EQ(store->findByName(L"Z"), nullptr);
}

TEST_F(StoreTest, MissingOrBrokenFileGivesAnEmptyStoreAndNoFileAtExit) {
    BrokerConfigStore* store = BrokerConfigStore::instance();
    EXPECT_TRUE(store->brokers().empty());
    EXPECT_EQ(store->current, nullptr);
    EXPECT_FALSE(store->load());
    BrokerConfigStore::destroyInstance();
    EXPECT_EQ(filesInFolder(), 0u);

    writeFile("<Brokers Select=\"甲\"><Broker Name=\"甲\">");
    store = BrokerConfigStore::instance();
    EXPECT_TRUE(store->brokers().empty());
    EXPECT_EQ(store->current, nullptr);
    BrokerConfigStore::destroyInstance();
    EXPECT_EQ(fileBytes(), "<Brokers Select=\"甲\"><Broker Name=\"甲\">");
}

TEST_F(StoreTest, AddedConfigurationsAreOwnedAppendedAndSaved) {
    writeFile(brokersFile("甲", broker("甲", "a")));
    BrokerConfigStore* store = BrokerConfigStore::instance();
    BrokerConfig* const first = store->current;
    auto learned = first->clone();
    learned->name = L"学到的";
    BrokerConfig* const added = store->add(std::move(learned));
    EXPECT_EQ(store->add(nullptr), nullptr);
    EXPECT_EQ(store->current, first);
    ASSERT_EQ(store->brokers(), (std::vector<BrokerConfig*>{first, added}));
    EXPECT_EQ(store->findByName(L"学到的"), added);

    store->current = added;
    EXPECT_TRUE(store->save());
    EXPECT_EQ(fileBytes(), brokersFile("学到的", broker("甲", "a") + broker("学到的", "a")));
}

TEST_F(StoreTest, LoadAppendsAndAFailedSaveReportsIt) {
    writeFile(brokersFile("甲", broker("甲", "a")));
    BrokerConfigStore* store = BrokerConfigStore::instance();
    EXPECT_TRUE(store->load());
    ASSERT_EQ(store->brokers().size(), 2u);
    EXPECT_EQ(store->current, store->brokers()[0]);

    std::filesystem::remove(dir.path() / "broker_config.xml");
    std::filesystem::create_directory(dir.path() / "broker_config.xml");
    EXPECT_FALSE(store->save());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "broker_config.xml"));
    EXPECT_EQ(filesInFolder(), 1u);
    std::filesystem::remove(dir.path() / "broker_config.xml");
}

TEST_F(StoreTest, ConcurrentFirstUseCreatesOneStore) {
    writeFile(brokersFile("甲", broker("甲", "a")));
    std::atomic<BrokerConfigStore*> seen[4] = {};
    std::vector<std::thread> threads;
    for (auto& slot : seen) threads.emplace_back([&slot] { slot = BrokerConfigStore::instance(); });
    for (auto& t : threads) t.join();
    for (auto& slot : seen) EXPECT_EQ(slot.load(), seen[0].load());
    EXPECT_EQ(seen[0].load()->brokers().size(), 1u);
}
