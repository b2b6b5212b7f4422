#include "brokerconfig/broker_config_store.h"

#include <algorithm>
#include <utility>

#include "brokerconfig/broker_config_file.h"
#include "common/file_store.h"
#include "common/singleton.h"
#include "common/xml_trouble.h"
#ifdef _WIN32
#include "common/module_directory.h"
#endif

namespace {

const wchar_t kFileName[] = L"broker_config.xml";
const wchar_t kKeptSuffix[] = L".unreadable";

// The store lock is the singleton's: held while the store is made and loaded, while it is
// saved, and while the folder of its file is chosen.
std::mutex& storeLock() {
    return halyard::singletonOf<BrokerConfigStore>().lock();
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

BrokerConfigStore::BrokerConfigStore(std::wstring path) : current(storeLock()), filePath(std::move(path)) {}

BrokerConfigStore::~BrokerConfigStore() {
    save();
}

std::vector<BrokerConfig*> BrokerConfigStore::brokers() const {
    std::lock_guard<std::mutex> guard(storeLock());
    std::vector<BrokerConfig*> list;
    list.reserve(configs.size());
    for (const auto& config : configs) list.push_back(config.get());
    return list;
}

BrokerConfig* BrokerConfigStore::findByName(const std::wstring& name) const {
    std::lock_guard<std::mutex> guard(storeLock());
    return findByNameUnlocked(name);
}

BrokerConfig* BrokerConfigStore::findByNameUnlocked(const std::wstring& name) const {
    for (const auto& config : configs) {
        if (config->name == name) return config.get();
    }
    return nullptr;
}

BrokerConfig* BrokerConfigStore::add(std::unique_ptr<BrokerConfig> config) {
    std::lock_guard<std::mutex> guard(storeLock());
    return addUnlocked(std::move(config));
}

BrokerConfig* BrokerConfigStore::addAsCurrent(std::unique_ptr<BrokerConfig> config) {
    std::lock_guard<std::mutex> guard(storeLock());
    BrokerConfig* added = addUnlocked(std::move(config));
    if (added) current.value_ = added;
    return added;
}

bool BrokerConfigStore::rename(BrokerConfig* config, const std::wstring& name) {
    std::lock_guard<std::mutex> guard(storeLock());
    if (!config || name.empty()) return false;
    const BrokerConfig* holder = findByNameUnlocked(name);
    if (holder && holder != config) return false;
    config->name = name;
    return true;
}

bool BrokerConfigStore::remove(const BrokerConfig* config) {
    std::lock_guard<std::mutex> guard(storeLock());
    const auto found = std::find_if(configs.begin(), configs.end(),
                                    [config](const auto& held) { return held.get() == config; });
    if (found == configs.end()) return false;
    configs.erase(found);
    if (current.value_ == config) current.value_ = configs.empty() ? nullptr : configs.front().get();
    return true;
}

BrokerConfig* BrokerConfigStore::addUnlocked(std::unique_ptr<BrokerConfig> config) {
    if (!config) return nullptr;
    added_ = true;
    configs.push_back(std::move(config));
    return configs.back().get();
}

bool BrokerConfigStore::load() {
    std::lock_guard<std::mutex> guard(storeLock());
    return loadUnlocked();
}

bool BrokerConfigStore::loadUnlocked() {
    std::string text;
    switch (halyard::readDataFile(filePath, text)) {
        case halyard::FileRead::Missing:
            return false;
        case halyard::FileRead::Unreadable:
            unreadableWhy_ = halyard::kFileNotReadable;
            return false;
        case halyard::FileRead::Read:
            break;
    }
    BrokerConfigFile file;
    std::wstring trouble;
    if (!parseBrokerConfigFile(text, file, trouble)) {
        unreadableWhy_ = trouble;
        return false;
    }
    for (auto& config : file.brokers) configs.push_back(std::move(config));
    if (!file.selectedName.empty()) {
        current.value_ = findByNameUnlocked(file.selectedName);
        if (!current.value_ && !configs.empty()) current.value_ = configs.front().get();
    }
    return true;
}

bool BrokerConfigStore::save() {
    std::lock_guard<std::mutex> guard(storeLock());
    if (!current.value_) return false;
    if (!unreadableWhy_.empty()) {
        // The file that could not be read is never replaced by what the program made up itself.
        if (!added_ || !halyard::keepFileAside(filePath, filePath + kKeptSuffix)) return false;
        unreadableWhy_.clear();
    }
    const std::string text = formatBrokerConfigFile(configs, current.value_->name);
    return halyard::replaceFileAtomically(filePath, halyard::withPlatformLineEnds(text));
}

std::wstring BrokerConfigStore::unreadableFileMessage() const {
    std::lock_guard<std::mutex> guard(storeLock());
    if (unreadableWhy_.empty()) return std::wstring();
    return L"券商配置文件无法读取: " + filePath + L"\n原因: " + unreadableWhy_ +
           L"\n其中的券商配置没有载入。文件保持原样: 可以改好后重新启动助手; 在助手中增加或检测券商后, "
           L"原文件保留为 " +
           kFileName + kKeptSuffix + L"。";
}

std::wstring BrokerConfigStore::currentName() const {
    std::lock_guard<std::mutex> guard(storeLock());
    return current.value_ ? current.value_->name : std::wstring();
}
