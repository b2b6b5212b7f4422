#pragma once
// All broker configurations of the process and the one the executor works with.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "brokerconfig/broker_config.h"

class BrokerConfigStore {
public:
    // Created and loaded from broker_config.xml beside the executable on first use; destroyed
    // by the main window's destructor (common/singleton.h).
    static BrokerConfigStore* instance();
    // Saves (when a configuration is current) and destroys the store.
    static void destroyInstance();
    // The folder the file is read from and written to; set before the first instance().
    // Natively the default is the current folder.
    static void setFolder(const std::wstring& folder);

    std::vector<BrokerConfig*> brokers() const;  // copy of the list; the store keeps ownership
    BrokerConfig* findByName(const std::wstring& name) const;
    BrokerConfig* add(std::unique_ptr<BrokerConfig> config);  // does not change current
    // Appends the file's configurations and applies its Select; false when no document with a
    // root element was read (the store is then unchanged).
    bool load();
    // Writes the file when a configuration is current; false when nothing was written.
    bool save();

    BrokerConfig* current = nullptr;

    ~BrokerConfigStore();
    BrokerConfigStore(const BrokerConfigStore&) = delete;
    BrokerConfigStore& operator=(const BrokerConfigStore&) = delete;

private:
    explicit BrokerConfigStore(std::wstring filePath);
    bool loadUnlocked();

    std::wstring filePath;
    std::vector<std::unique_ptr<BrokerConfig>> configs;
};
