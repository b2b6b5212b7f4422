#include "brokerconfig/broker_setting_fields.h"

#include "brokerconfig/broker_config_store.h"

std::wstring brokerListLabel(const BrokerConfig& config) {
    if (config.family == ClientFamily::Grid) return config.name + L"（网格）";
    return config.name;
}

std::wstring brokerNameRefusal(const BrokerConfigStore& store, const BrokerConfig* renamed,
                               const std::wstring& name) {
    if (name.empty()) return L"必须输入券商名称";
    const BrokerConfig* holder = store.findByName(name);
    if (holder && holder != renamed) return name + L" 已经存在";
    return std::wstring();
}
