// Detection against the simulated client's toolbar layouts: the sweep's positions and titles,
// the second sweep, a client without orders page, pages it cannot recognise, and the tries of
// stored layouts.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "sim_broker.h"
#include "simclient/client_options.h"
#include "support/sim_client_process.h"

namespace {

using halyard::testing::SimClientProcess;

// The toolbar of the practice client: button i (买入 卖出 撤单 持仓 查询 刷新) covers x from
// offset + i * pitch, `width` pixels wide.
struct Toolbar {
    int offset, width, pitch;

    std::vector<std::wstring> arguments() const {
        return {L"--toolbar-offset",    std::to_wstring(offset), L"--button-width",
                std::to_wstring(width), L"--button-pitch",       std::to_wstring(pitch)};
    }
    // The first point of a sweep from `start` that lands on button `index`.
    int firstSweepPoint(int start, int index) const {
        const int left = offset + index * pitch;
        int x = start;
        while (x < left) x += 3;
        EXPECT_LT(x, left + width) << "the sweep steps over button " << index;
        return x;
    }
};

std::vector<std::wstring> clientArguments(const std::wstring& title, const Toolbar& toolbar,
                                          std::vector<std::wstring> more = {}) {
    std::vector<std::wstring> args{L"--title", title};
    for (const std::wstring& a : toolbar.arguments()) args.push_back(a);
    for (const std::wstring& a : more) args.push_back(a);
    return args;
}

std::vector<ButtonPosition> sweptButtons(const Toolbar& toolbar, int start) {
    return {{L"买入按钮", toolbar.firstSweepPoint(start, 0), 20},
            {L"卖出按钮", toolbar.firstSweepPoint(start, 1), 20},
            {L"撤单按钮", toolbar.firstSweepPoint(start, 2), 20},
            {L"撤单按钮2", 20, 20},
            {L"持仓按钮", toolbar.firstSweepPoint(start, 3), 20}};
}

std::string savedFile(const ExecutorSession& session) {
    std::string bytes;
    halyard::readWholeFile(session.folder().file(L"broker_config.xml"), bytes);
    return bytes;
}

struct SweepCase {
    const wchar_t* title;
    Toolbar toolbar;
    std::vector<std::wstring> positionColumns;  // empty: the client's default titles
    const wchar_t* learntName;
};

TEST(Detection, FirstSweepLearnsWhereEachPageFirstComesUpAndTheListTitles) {
    const std::vector<SweepCase> cases{
        {L"模拟证券-测试版-2", {5, 16, 16}, {}, L"模拟证券"},
        // Gaps between the buttons: those clicks bring up no new page. The positions page is
        // known only by two of its list titles.
        {L"闪电手证券交易",
         {0, 12, 20},
         {L"证券代码", L"股票名称", L"浮动盈亏", L"盈亏比例(%)"},
         L"闪电手证券交易"},
    };
    for (const SweepCase& c : cases) {
        SCOPED_TRACE(halyard::toUtf8(c.title));
        std::vector<std::wstring> more;
        std::wstring joined;
        for (const std::wstring& title : c.positionColumns) joined += (joined.empty() ? L"" : L",") + title;
        if (!joined.empty()) more = {L"--positions-columns", joined};
        SimClientProcess client(clientArguments(c.title, c.toolbar, more));
        ASSERT_TRUE(client.started()) << halyard::toUtf8(client.error());
        ExecutorSession session(nullptr);
        ZsZqOrderExecutor* executor = session.executor();

        std::atomic<int> result{-1};
        std::thread detection([&] { result = executor->autoConfigure(); });
        bool sawRunning = false;
        while (result == -1 && !sawRunning) sawRunning = executor->detectionRunning();
        detection.join();
        EXPECT_TRUE(sawRunning) << "the monitor must see detection running";
        EXPECT_FALSE(executor->detectionRunning());
        ASSERT_EQ(result, 1);
        EXPECT_EQ(executor->clientProcessId(), client.processId()) << "the sweep's pop-ups are confirmed";

        const BrokerConfig* learnt = session.config();
        ASSERT_NE(learnt, nullptr);
        EXPECT_EQ(learnt->name, c.learntName);
        EXPECT_EQ(learnt->windowName, c.learntName);
        EXPECT_EQ(learnt->buttonPositionList(), sweptButtons(c.toolbar, 10));
        const StringList positions =
            c.positionColumns.empty() ? halyard::simclient::defaultPositionsColumns() : c.positionColumns;
        EXPECT_EQ(learnt->positionTitles(), positions);
        EXPECT_EQ(learnt->positionOwnNames(), mapPositionTitles(positions));
        EXPECT_EQ(learnt->commitTitles(), halyard::simclient::defaultOrdersColumns());
        EXPECT_EQ(learnt->commitOwnNames(), mapCommitTitles(halyard::simclient::defaultOrdersColumns()));
        EXPECT_EQ(executor->learntPages(),
                  unsigned{kLearntBuy | kLearntSell | kLearntPositions | kLearntOrders});
        // On disk at once, not only when the program ends.
        EXPECT_NE(savedFile(session).find("Select=\"" + halyard::toUtf8(c.learntName) + "\""),
                  std::string::npos);
        EXPECT_EQ(executor->connect(), 1);
    }
}

TEST(Detection, SecondSweepClientWithoutOrdersPageAndUnrecognisedPages) {
    {
        // Buttons two pixels wide that only the points of the second sweep land on.
        const Toolbar onlyRightOf225{227, 2, 3};
        SimClientProcess client(clientArguments(L"模拟证券交易系统", onlyRightOf225));
        ASSERT_TRUE(client.started()) << halyard::toUtf8(client.error());
        ExecutorSession session(nullptr);
        session.executor()->setSweepPause(80);  // the practice client switches pages at once
        ASSERT_EQ(session.executor()->autoConfigure(), 1);
        EXPECT_EQ(session.config()->buttonPositionList(), sweptButtons(onlyRightOf225, 225));
        EXPECT_EQ(BrokerConfigStore::instance()->brokers().size(), 1u);
    }
    {
        const Toolbar narrow{5, 16, 16};
        SimClientProcess client(
            clientArguments(L"模拟证券交易系统", narrow, {L"--variant", L"no-orders-page"}));
        ASSERT_TRUE(client.started()) << halyard::toUtf8(client.error());
        ExecutorSession session(nullptr);
        ZsZqOrderExecutor* executor = session.executor();
        executor->setSweepPause(40);
        ASSERT_EQ(executor->autoConfigure(), 1);
        const BrokerConfig* learnt = session.config();
        EXPECT_EQ(learnt->buttonPositionList()[2], ButtonPosition{});
        EXPECT_EQ(learnt->buttonPositionList()[3], (ButtonPosition{L"撤单按钮2", 20, 20}));
        EXPECT_TRUE(learnt->commitTitles().empty());
        EXPECT_TRUE(learnt->commitOwnNames().empty());
        EXPECT_EQ(executor->learntPages(), unsigned{kLearntBuy | kLearntSell | kLearntPositions});
        EXPECT_EQ(executor->connect(), 1);
        EXPECT_EQ(executor->lastErrorCode(), -10);
        EXPECT_EQ(executor->hasOrdersList(), 0);
    }
    {
        SimClientProcess client(
            clientArguments(L"模拟证券交易系统", {5, 16, 16}, {L"--variant", L"no-buy-page"}));
        ASSERT_TRUE(client.started()) << halyard::toUtf8(client.error());
        ExecutorSession session(nullptr);
        session.executor()->setSweepPause(20);
        EXPECT_EQ(session.executor()->autoConfigure(), 0);
        EXPECT_EQ(session.executor()->lastErrorCode(), -4);
        EXPECT_STREQ(session.executor()->lastErrorText(), L"无法识别券商软件的买入、卖出或持仓页面");
        EXPECT_TRUE(BrokerConfigStore::instance()->brokers().empty());
        EXPECT_EQ(session.config(), nullptr);
        EXPECT_EQ(savedFile(session), "");
    }
}

TEST(Detection, StoredLayoutsAreTriedWithTheirOwnConnectionAndUnderTheClientsTitle) {
    {
        ExecutorSession session(nullptr);
        BrokerConfigStore* store = BrokerConfigStore::instance();
        BrokerConfig* a = store->add(simBrokerConfig(L"甲"));
        auto renamed = a->clone();
        renamed->name = L"乙";
        renamed->windowName = L"乙";
        BrokerConfig* sameAsA = store->add(std::move(renamed));
        auto moved = a->clone();
        std::vector<ButtonPosition> buttons = moved->buttonPositionsCopy();
        buttons[1].x += 1;
        moved->setButtonPositions(buttons);
        BrokerConfig* otherButtons = store->add(std::move(moved));
        auto remapped = a->clone();
        StringList ownNames = remapped->positionColumnOwnNamesCopy();
        ownNames[0] = L"";
        remapped->setPositionColumns(remapped->positionColumnTitlesCopy(), ownNames);
        BrokerConfig* otherColumns = store->add(std::move(remapped));
        EXPECT_TRUE(ZsZqOrderExecutor::sameLayout(*a, *sameAsA));
        EXPECT_EQ(session.executor()->distinctLayouts(),
                  (std::vector<BrokerConfig*>{a, otherButtons, otherColumns}));
    }

    SimClientProcess client({L"--title", L"模拟证券-分支机构"});
    ASSERT_TRUE(client.started()) << halyard::toUtf8(client.error());
    {
        // A connection still standing from before must not make a wrong first layout a match.
        ExecutorSession session(nullptr);
        BrokerConfigStore* store = BrokerConfigStore::instance();
        auto wrongColumns = simBrokerConfig(L"模拟证券");
        wrongColumns->name = L"错的";
        wrongColumns->setPositionColumns({L"证券代码"}, {L"证券代码"});
        BrokerConfig* wrong = store->add(std::move(wrongColumns));
        BrokerConfig* right = store->add(simBrokerConfig(L"模拟证券"));
        store->current = right;
        ASSERT_EQ(session.executor()->connect(), 1);
        EXPECT_EQ(session.executor()->detectBroker(), 1);
        EXPECT_EQ(session.config(), right);
        EXPECT_NE(session.config(), wrong);
    }
    {
        // No stored title fits: the stored layout under the client's title before the hyphen.
        ExecutorSession session(nullptr);
        BrokerConfigStore* store = BrokerConfigStore::instance();
        store->add(simBrokerConfig(L"没有这个券商"));
        auto sameLayout = simBrokerConfig(L"也没有这个");
        sameLayout->name = L"别名";
        store->add(std::move(sameLayout));
        EXPECT_EQ(session.executor()->detectBroker(), 1);
        ASSERT_EQ(store->brokers().size(), 3u);
        EXPECT_EQ(session.config(), store->brokers().back());
        EXPECT_EQ(session.config()->name, L"模拟证券");
        EXPECT_EQ(session.config()->windowName, L"模拟证券");
        EXPECT_NE(savedFile(session).find("Select=\"模拟证券\""), std::string::npos);
    }
}

}  // namespace
