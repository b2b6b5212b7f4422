#pragma once
// What the broker dialogs show of a configuration and how they judge a name, without a window.
#include <string>

class BrokerConfig;
class BrokerConfigStore;

// The configuration's entry in the dialogs' lists: its name, and for a grid client the family
// after it ("华泰证券（网格）").
std::wstring brokerListLabel(const BrokerConfig& config);

// Why `name` cannot be given to a configuration: "必须输入券商名称" when empty, the name followed
// by " 已经存在" when another configuration than `renamed` has it; "" when it can. `renamed` is
// the configuration being renamed, or null for a new one.
std::wstring brokerNameRefusal(const BrokerConfigStore& store, const BrokerConfig* renamed,
                               const std::wstring& name);
