#include "brokerconfig/broker_config_store.h"

#include <utility>

#include "brokerconfig/broker_config_file.h"
#include "common/file_store.h"
#include "common/singleton.h"
#ifdef _WIN32
#include "common/module_directory.h"
#endif

namespace {

const wchar_t kFileName[] = L"broker_config.xml";

// The store lock is the singleton's: held while the store is made and loaded, while it is
// saved, and while the folder of its file is chosen.
std::mutex& storeLock() {
    return halyard::singletonOf<BrokerConfigStore>().lock();
}

// The configurations and the current one change under this lock, since detection changes them on
// its own thread; re-entrant, because saving reads the current one while holding it. Taken after
// the store lock where both are held.
std::recursive_mutex& contentsLock() {
    static auto* const lock = new std::recursive_mutex;
    return *lock;
}

struct FileFolder {
    bool chosen = false;
    std::wstring folder;
};

FileFolder& fileFolder() {
    static FileFolder* const folder = new FileFolder;
    return *folder;
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
    return halyard::singletonOf<BrokerConfigStore>().instance([] {
        const FileFolder& chosen = fileFolder();
        std::unique_ptr<BrokerConfigStore> store(
            new BrokerConfigStore((chosen.chosen ? chosen.folder : defaultFolder()) + kFileName));
        store->loadUnlocked();
        return store;
    });
}

void BrokerConfigStore::destroyInstance() {
    halyard::singletonOf<BrokerConfigStore>().destroy();  // the destructor saves under the lock itself
}

void BrokerConfigStore::setFolder(const std::wstring& folder) {
    std::lock_guard<std::mutex> guard(storeLock());
    fileFolder().folder = folder;
    fileFolder().chosen = true;
}

BrokerConfigStore::BrokerConfigStore(std::wstring path)
    : current(contentsLock()), filePath(std::move(path)) {}

BrokerConfigStore::~BrokerConfigStore() {
    save();
}

std::vector<BrokerConfig*> BrokerConfigStore::brokers() const {
    std::lock_guard<std::recursive_mutex> contents(contentsLock());
    std::vector<BrokerConfig*> list;
    list.reserve(configs.size());
    for (const auto& config : configs) list.push_back(config.get());
    return list;
}

BrokerConfig* BrokerConfigStore::findByName(const std::wstring& name) const {
    std::lock_guard<std::recursive_mutex> contents(contentsLock());
    for (const auto& config : configs) {
        if (config->name == name) return config.get();
    }
    return nullptr;
}

BrokerConfig* BrokerConfigStore::add(std::unique_ptr<BrokerConfig> config) {
    if (!config) return nullptr;
    std::lock_guard<std::recursive_mutex> contents(contentsLock());
    configs.push_back(std::move(config));
    return configs.back().get();
}

BrokerConfig* BrokerConfigStore::addAsCurrent(std::unique_ptr<BrokerConfig> config) {
    std::lock_guard<std::recursive_mutex> contents(contentsLock());
    BrokerConfig* added = add(std::move(config));
    if (added) current = added;
    return added;
}

bool BrokerConfigStore::load() {
    std::lock_guard<std::mutex> guard(storeLock());
    return loadUnlocked();
}

bool BrokerConfigStore::loadUnlocked() {
    std::lock_guard<std::recursive_mutex> contents(contentsLock());
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
    std::lock_guard<std::mutex> guard(storeLock());
    std::lock_guard<std::recursive_mutex> contents(contentsLock());
    if (!current) return false;
    const std::string text = formatBrokerConfigFile(configs, current->name);
    return halyard::replaceFileAtomically(filePath, halyard::withPlatformLineEnds(text));
}
