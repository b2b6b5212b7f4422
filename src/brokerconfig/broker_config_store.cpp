#include "brokerconfig/broker_config_store.h"

#include <utility>

#include "brokerconfig/broker_config_file.h"
#include "common/file_store.h"
#ifdef _WIN32
#include "common/module_directory.h"
#endif

namespace {

const wchar_t kFileName[] = L"broker_config.xml";

// The store lock and what it guards: the one store and where its file lives.
struct StoreSingleton {
    std::recursive_mutex lock;
    std::unique_ptr<BrokerConfigStore> store;
    bool folderSet = false;
    std::wstring folder;
};

StoreSingleton& singleton() {
    static StoreSingleton s;
    return s;
}

std::wstring defaultFolder() {
#ifdef _WIN32
    return halyard::moduleDirectory();
#else
    return std::wstring();  // the current folder
#endif
}

}  // namespace

BrokerConfigStore* BrokerConfigStore::instance() {
    StoreSingleton& s = singleton();
    std::lock_guard<std::recursive_mutex> guard(s.lock);
    if (!s.store) {
        const std::wstring folder = s.folderSet ? s.folder : defaultFolder();
        s.store.reset(new BrokerConfigStore(folder + kFileName));
        s.store->loadUnlocked();
    }
    return s.store.get();
}

void BrokerConfigStore::destroyInstance() {
    std::unique_ptr<BrokerConfigStore> doomed;
    {
        StoreSingleton& s = singleton();
        std::lock_guard<std::recursive_mutex> guard(s.lock);
        doomed = std::move(s.store);
    }
    doomed.reset();  // saves under the lock itself
}

void BrokerConfigStore::setFolder(const std::wstring& folder) {
    StoreSingleton& s = singleton();
    std::lock_guard<std::recursive_mutex> guard(s.lock);
    s.folder = folder;
    s.folderSet = true;
}

BrokerConfigStore::BrokerConfigStore(std::wstring path)
    : current(singleton().lock), filePath(std::move(path)) {}

BrokerConfigStore::~BrokerConfigStore() {
    save();
}

std::vector<BrokerConfig*> BrokerConfigStore::brokers() const {
    std::lock_guard<std::recursive_mutex> guard(singleton().lock);
    std::vector<BrokerConfig*> list;
    list.reserve(configs.size());
    for (const auto& config : configs) list.push_back(config.get());
    return list;
}

BrokerConfig* BrokerConfigStore::findByName(const std::wstring& name) const {
    std::lock_guard<std::recursive_mutex> guard(singleton().lock);
    for (const auto& config : configs) {
        if (config->name == name) return config.get();
    }
    return nullptr;
}

BrokerConfig* BrokerConfigStore::add(std::unique_ptr<BrokerConfig> config) {
    if (!config) return nullptr;
    std::lock_guard<std::recursive_mutex> guard(singleton().lock);
    configs.push_back(std::move(config));
    return configs.back().get();
}

BrokerConfig* BrokerConfigStore::addAsCurrent(std::unique_ptr<BrokerConfig> config) {
    std::lock_guard<std::recursive_mutex> guard(singleton().lock);
    BrokerConfig* added = add(std::move(config));
    if (added) current = added;
    return added;
}

bool BrokerConfigStore::load() {
    std::lock_guard<std::recursive_mutex> guard(singleton().lock);
    return loadUnlocked();
}

bool BrokerConfigStore::loadUnlocked() {
    std::string text;
    if (!halyard::readWholeFile(filePath, text)) return false;
    BrokerConfigFile file;
    if (!parseBrokerConfigFile(text, file)) return false;
    for (auto& config : file.brokers) configs.push_back(std::move(config));
    if (!file.selectedName.empty()) {
        current = findByName(file.selectedName);
        if (!current && !configs.empty()) current = configs.front().get();
    }
    return true;
}

bool BrokerConfigStore::save() {
    std::lock_guard<std::recursive_mutex> guard(singleton().lock);
    if (!current) return false;
    const std::string text = formatBrokerConfigFile(configs, current->name);
    return halyard::replaceFileAtomically(filePath, halyard::withPlatformLineEnds(text));
}
