#pragma once
// The text of broker_config.xml: UTF-8 attribute text, fixed element and attribute order.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brokerconfig/broker_config.h"

using BrokerConfigList = std::vector<std::unique_ptr<BrokerConfig>>;

struct BrokerConfigFile {
    BrokerConfigList brokers;   // in file order
    std::wstring selectedName;  // the root's Select attribute
};

// Appends the configurations to `file.brokers` and sets the selected name. False when the text is
// not a document with a root element; `file` is then left as it was.
// Missing attributes read as "", coordinates without a number as 0.
bool parseBrokerConfigFile(const std::string& text, BrokerConfigFile& file);
// As above; `trouble` says why a text gave no configurations.
bool parseBrokerConfigFile(const std::string& text, BrokerConfigFile& file, std::wstring& trouble);

// The document as the library's indented printer writes it, with LF line ends.
std::string formatBrokerConfigFile(const BrokerConfigList& brokers, const std::wstring& selectedName);

// A coordinate as "%d" scanning reads it; values beyond 32 bits are clamped.
int32_t scanCoordinate(const char* text);
