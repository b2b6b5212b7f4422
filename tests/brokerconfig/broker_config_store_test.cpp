// The process's broker configurations over broker_config.xml: loading, the current one, rename
// and removal, and saving at exit.
#include "brokerconfig/broker_config_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_store.h"
#include "support/temp_folder.h"

namespace {

std::string brokersFile(const std::string& select, const std::string& brokers) {
    return halyard::withPlatformLineEnds("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Brokers Select=\"" +
                                         select + "\">\n" + brokers + "</Brokers>\n");
}

// A configuration as the program writes it, with a button and a column.
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

// One store over a test folder, destroyed (and so saved) when the fixture ends.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { BrokerConfigStore::setFolder(dir.folder()); }
    void TearDown() override { BrokerConfigStore::destroyInstance(); }

    void writeFile(const std::string& bytes) { ASSERT_TRUE(halyard::replaceFileAtomically(path(), bytes)); }
    std::string fileBytes() {
        std::string bytes;
        EXPECT_TRUE(halyard::readWholeFile(path(), bytes));
        return bytes;
    }
    std::wstring path() const { return dir.file(L"broker_config.xml"); }
    size_t filesInFolder() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
    }

    TempFolder dir;
};

}  // namespace

TEST_F(StoreTest, SelectChoosesTheCurrentOneWhichIsSavedAtExitByteForByte) {
    // The first configuration of a name wins; an unknown name makes the first current; without
    // a name none is current and the file is left as it is.
    const struct {
        const char* select;
        std::string brokers;
        const wchar_t* currentWindow;
        const char* savedSelect;  // null: not saved
    } cases[] = {
        {"乙", broker("甲", "甲交易") + broker("乙", "乙交易"), L"乙交易", "乙"},
        {"乙", broker("", "none") + broker("乙", "first") + broker("乙", "second"), L"first", "乙"},
        {"丙", broker("甲", "a") + broker("乙", "b"), L"a", "甲"},
        {"", broker("甲", "a") + broker("乙", "b"), nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.select);
        writeFile(brokersFile(c.select, c.brokers));
        BrokerConfigStore* store = BrokerConfigStore::instance();
        EXPECT_EQ(BrokerConfigStore::instance(), store);
        EXPECT_GE(store->brokers().size(), 2u);
        if (c.currentWindow) {
            ASSERT_NE(store->current, nullptr);
            EXPECT_EQ(store->current->windowName, c.currentWindow);
        } else {
            EXPECT_EQ(store->current, nullptr);
            EXPECT_FALSE(store->save());
        }
        writeFile("changed on disk");
        BrokerConfigStore::destroyInstance();
        EXPECT_EQ(fileBytes(), c.savedSelect ? brokersFile(c.savedSelect, c.brokers) : "changed on disk");
        EXPECT_EQ(filesInFolder(), 1u);
    }
}

TEST_F(StoreTest, MissingOrBrokenFileGivesAnEmptyStoreAndNoFileAtExit) {
    BrokerConfigStore* store = BrokerConfigStore::instance();
    EXPECT_TRUE(store->brokers().empty());
    EXPECT_EQ(store->current, nullptr);
    EXPECT_FALSE(store->load());
    EXPECT_EQ(store->unreadableFileMessage(), L"");
    BrokerConfigStore::destroyInstance();
    EXPECT_EQ(filesInFolder(), 0u);

    const std::string broken = "<Brokers Select=\"甲\"><Broker Name=\"甲\">";
    writeFile(broken);
    store = BrokerConfigStore::instance();
    EXPECT_TRUE(store->brokers().empty());
    EXPECT_EQ(store->current, nullptr);
    EXPECT_NE(store->unreadableFileMessage().find(path() + L"\n原因: XML 格式错误: 第 1 行"),
              std::wstring::npos);
    // A configuration of a detection's own, not added, is never saved over the unreadable file.
    BrokerConfig trial(L"试", L"t");
    store->current = &trial;
    EXPECT_FALSE(store->save());
    // Names are compared exactly, an empty one too; the first match wins.
    BrokerConfig* const nameless = store->add(std::make_unique<BrokerConfig>(L"", L"a"));
    store->add(std::make_unique<BrokerConfig>(L"", L"b"));
    EXPECT_EQ(store->findByName(L""), nameless);
    EXPECT_EQ(fileBytes(), broken);
    store->current = nameless;
    BrokerConfigStore::destroyInstance();  // the first save keeps the unreadable file beside it
    std::string kept;
    EXPECT_TRUE(halyard::readWholeFile(path() + L".unreadable", kept));
    EXPECT_EQ(kept, broken);
    EXPECT_NE(fileBytes(), broken);
}

TEST_F(StoreTest, AddedAndLoadedConfigurationsAreAppendedAndSaved) {
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
    EXPECT_EQ(store->findByName(L"甲 "), nullptr);
    store->current = added;
    EXPECT_TRUE(store->save());
    EXPECT_EQ(fileBytes(), brokersFile("学到的", broker("甲", "a") + broker("学到的", "a")));
    // Loading again appends what the file holds and applies its Select.
    store->current = nullptr;
    EXPECT_TRUE(store->load());
    ASSERT_EQ(store->brokers().size(), 4u);
    EXPECT_EQ(store->current, added);
    // A rename refuses an empty name and another's; removing the current makes the first current.
    EXPECT_FALSE(store->rename(first, L""));
    EXPECT_FALSE(store->rename(first, L"学到的"));
    EXPECT_TRUE(store->rename(added, L"学到的"));
    EXPECT_TRUE(store->remove(added));
    EXPECT_EQ(store->current, first);
    EXPECT_EQ(store->brokers().size(), 3u);

    // A save that cannot replace the file reports it and leaves what is there.
    std::filesystem::remove(dir.path() / "broker_config.xml");
    std::filesystem::create_directory(dir.path() / "broker_config.xml");
    EXPECT_FALSE(store->save());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "broker_config.xml"));
    EXPECT_EQ(filesInFolder(), 1u);
    std::filesystem::remove(dir.path() / "broker_config.xml");
}
