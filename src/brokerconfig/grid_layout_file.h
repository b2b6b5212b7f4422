#pragma once
// The grid family's part of a Broker element of broker_config.xml: a Family="grid" attribute
// after Name, and after the column maps a TreePaths element (one TreePath per page, its
// TreeLabel children from the root down) and a GridControls element with the control ids.
// A list-view configuration gets none of these, so its element stays as older versions wrote it.
#include <tinyxml2.h>

#include "brokerconfig/broker_config.h"

// Missing, unknown or odd values leave the record's defaults: a Family other than "grid" is the
// list-view family, an id that is no whole number from 1 to 65535 the default id.
void readGridLayout(const tinyxml2::XMLElement* broker, BrokerConfig& config);
void writeGridLayout(tinyxml2::XMLElement* broker, const BrokerConfig& config);
