#include "alerts/alert_dispatch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::atomic<int> sends{0};
std::atomic<DWORD> senderThread{0};
AlertJob lastJob;

int recordSend(const AlertJob& job) {
    lastJob = job;
    senderThread = GetCurrentThreadId();
    ++sends;
    return 1;
}

TEST(AlertDispatch, EachMessageRunsOnADetachedThreadOfItsOwn) {
    auto job = std::make_unique<AlertJob>();
    job->recipient = L"13800000000";
    job->text = L"浦发银行 在 2014-03-03 10-05-03 满足止损条件";
    sends = 0;
    ASSERT_TRUE(startAlertThread(std::move(job), recordSend));
    for (int i = 0; i < 1000 && sends == 0; ++i) Sleep(10);
    ASSERT_EQ(sends, 1);
    EXPECT_NE(senderThread.load(), GetCurrentThreadId());
    EXPECT_EQ(lastJob.recipient, L"13800000000");
    EXPECT_EQ(lastJob.text, L"浦发银行 在 2014-03-03 10-05-03 满足止损条件");
}

TEST(AlertDispatch, SoundReturnsAtOnceForAFileThatDoesNotExist) {
    sends = 0;
    playAlertSound(L"missing.wav");
    playAlertSound(L"");
    EXPECT_EQ(sends, 0);
}

}  // namespace
