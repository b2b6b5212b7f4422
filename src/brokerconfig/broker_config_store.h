#pragma once
// All broker configurations of the process and the one the executor works with.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "brokerconfig/broker_config.h"

// The store's current configuration. Detection replaces it on its own thread while the user
// interface reads it, so every read and assignment takes the store lock; the store itself, which
// already holds that lock, reads and sets it through the unlocked forms.
class CurrentBroker {
public:
    explicit CurrentBroker(std::mutex& lock) : lock_(lock) {}
    CurrentBroker(const CurrentBroker&) = delete;
    CurrentBroker& operator=(const CurrentBroker& other) { return *this = other.get(); }
    CurrentBroker& operator=(BrokerConfig* config) {
        std::lock_guard<std::mutex> hold(lock_);
        value_ = config;
        return *this;
    }
    BrokerConfig* get() const {
        std::lock_guard<std::mutex> hold(lock_);
        return value_;
    }
    operator BrokerConfig*() const { return get(); }
    BrokerConfig* operator->() const { return get(); }

private:
    friend class BrokerConfigStore;
    BrokerConfig* value_ = nullptr;
    std::mutex& lock_;
};

// Adding, listing and the current configuration take the store lock, so a reader on another
// thread never sees a half-added configuration.
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
    // Adds the configuration and makes it current in one step under the lock.
    BrokerConfig* addAsCurrent(std::unique_ptr<BrokerConfig> config);
    // Gives the configuration a new name; false (nothing changed) when the name is empty or
    // another configuration already has it. The file's Select follows, as it names the current.
    bool rename(BrokerConfig* config, const std::wstring& name);
    // Removes and destroys the configuration; when it was current, the first one left becomes
    // current. False when the store does not hold it.
    bool remove(const BrokerConfig* config);
    // Appends the file's configurations and applies its Select; false when no document with a
    // root element was read (the store is then unchanged).
    bool load();
    // Writes the file when a configuration is current; false when nothing was written. Over a
    // file that could not be read, only once a configuration was added, keeping that file
    // beside it as broker_config.xml.unreadable.
    bool save();
    // When the file is there but could not be read: the message telling the investor which
    // file and why; empty otherwise.
    std::wstring unreadableFileMessage() const;
    // The name of the current configuration, read under the lock: a detection on another thread
    // may make a configuration of its own current and destroy it.
    std::wstring currentName() const;

    CurrentBroker current;

    ~BrokerConfigStore();
    BrokerConfigStore(const BrokerConfigStore&) = delete;
    BrokerConfigStore& operator=(const BrokerConfigStore&) = delete;

private:
    explicit BrokerConfigStore(std::wstring path);
    bool loadUnlocked();
    BrokerConfig* findByNameUnlocked(const std::wstring& name) const;
    BrokerConfig* addUnlocked(std::unique_ptr<BrokerConfig> config);

    std::wstring filePath;
    std::vector<std::unique_ptr<BrokerConfig>> configs;
    std::wstring unreadableWhy_;  // why the file that is there gave nothing; kept until a save
    bool added_ = false;
};
