#pragma once
// What the detection dialog runs on its thread: learning the running client's layout, then
// connecting to it. The executor does both; whoever opens the dialog hands it over.

// The pages a layout sweep has recognised, as bits.
enum LearntPage : unsigned { kLearntBuy = 1, kLearntSell = 2, kLearntPositions = 4, kLearntOrders = 8 };

class BrokerDetection {
public:
    virtual ~BrokerDetection() = default;
    // 1 when a layout was learnt and made current.
    virtual int autoConfigure() = 0;
    // 1 when the client's windows were found with the current configuration.
    virtual int connect() = 0;
    // The pages the running (or last) sweep has recognised so far, LearntPage bits.
    virtual unsigned learntPages() const = 0;
    // The detection the dialog runs: learn the layout, then connect with it; 1 when both
    // succeeded. An executor that keeps a connection gives it back when either fails.
    virtual int learnAndConnect() { return autoConfigure() && connect() ? 1 : 0; }
    // True while a detection runs on some thread (the monitor's timer then leaves the executor alone).
    virtual bool detectionRunning() const { return false; }
};
