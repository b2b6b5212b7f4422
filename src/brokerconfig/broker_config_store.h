#pragma once
// All broker configurations of the process and the one the executor works with.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "brokerconfig/broker_config.h"

class BrokerConfigStore {
public:
    // Created and loaded from broker_config.xml beside the executable on first use.
    static BrokerConfigStore* instance();
    // Saves (when a configuration is current) and destroys the store.
    static void destroyInstance();
    // The folder the file is read from and written to; set before the first instance().
    static void setFolder(const std::wstring& folder);

    std::vector<BrokerConfig*> brokers() const;  // copy of the list; the store keeps ownership
    BrokerConfig* findByName(const std::wstring& name) const;
    BrokerConfig* add(std::unique_ptr<BrokerConfig> config);  // does not change current
    bool load();
    bool save();

    BrokerConfig* current = nullptr;

    ~BrokerConfigStore();

private:
    explicit BrokerConfigStore(std::wstring filePath);

    std::wstring filePath;
    std::vector<std::unique_ptr<BrokerConfig>> configs;
};
