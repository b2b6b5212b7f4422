// Any bytes read as broker_config.xml: no crash, and what is written once reads back and is
// written again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "brokerconfig/broker_config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BrokerConfigFile first;
    if (!parseBrokerConfigFile(std::string(reinterpret_cast<const char*>(data), size), first)) return 0;
    const std::string written = formatBrokerConfigFile(first.brokers, first.selectedName);

    BrokerConfigFile second;
    if (!parseBrokerConfigFile(written, second)) std::abort();
    if (formatBrokerConfigFile(second.brokers, second.selectedName) != written) std::abort();
    return 0;
}
