#include "brokerconfig/broker_config_file.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "brokerconfig/grid_layout_file.h"
#include "common/text_encoding.h"
#include "common/xml_trouble.h"

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

std::wstring textAttribute(const XMLElement* element, const char* name) {
    const char* value = element->Attribute(name);
    return value ? halyard::fromUtf8(value) : std::wstring();
}

void setTextAttribute(XMLElement* element, const char* name, const std::wstring& value) {
    element->SetAttribute(name, halyard::toUtf8(value).c_str());
}

int32_t coordinateAttribute(const XMLElement* element, const char* name) {
    const char* value = element->Attribute(name);
    return value ? scanCoordinate(value) : 0;
}

std::vector<ButtonPosition> readButtonPositions(const XMLElement* list) {
    std::vector<ButtonPosition> positions;
    for (const XMLElement* e = list->FirstChildElement("ButtonPosition"); e;
         e = e->NextSiblingElement("ButtonPosition")) {
        positions.push_back(
            {textAttribute(e, "Name"), coordinateAttribute(e, "x"), coordinateAttribute(e, "y")});
    }
    return positions;
}

void readColumns(const XMLElement* list, StringList& titles, StringList& ownNames) {
    for (const XMLElement* e = list->FirstChildElement("ColumnName"); e;
         e = e->NextSiblingElement("ColumnName")) {
        titles.push_back(textAttribute(e, "Name1"));
        ownNames.push_back(textAttribute(e, "Name2"));
    }
}

std::unique_ptr<BrokerConfig> readBroker(const XMLElement* element) {
    auto config =
        std::make_unique<BrokerConfig>(textAttribute(element, "Name"), textAttribute(element, "WindowName"));
    if (const XMLElement* list = element->FirstChildElement("ButtonPositions"))
        config->setButtonPositions(readButtonPositions(list));
    if (const XMLElement* list = element->FirstChildElement("PositionColumnName")) {
        StringList titles, ownNames;
        readColumns(list, titles, ownNames);
        config->setPositionColumns(std::move(titles), std::move(ownNames));
    }
    if (const XMLElement* list = element->FirstChildElement("CommitColumnName")) {
        StringList titles, ownNames;
        readColumns(list, titles, ownNames);
        config->setCommitColumns(std::move(titles), std::move(ownNames));
    }
    readGridLayout(element, *config);
    return config;
}

void writeColumns(XMLElement* list, const StringList& titles, const StringList& ownNames) {
    for (size_t i = 0; i < titles.size(); ++i) {
        XMLElement* column = list->InsertNewChildElement("ColumnName");
        setTextAttribute(column, "Name2", i < ownNames.size() ? ownNames[i] : std::wstring());
        setTextAttribute(column, "Name1", titles[i]);
    }
}

void writeBroker(XMLElement* element, const BrokerConfig& config) {
    setTextAttribute(element, "WindowName", config.windowName);
    setTextAttribute(element, "Name", config.name);
    XMLElement* buttons = element->InsertNewChildElement("ButtonPositions");
    for (const ButtonPosition& position : config.buttonPositionList()) {
        XMLElement* button = buttons->InsertNewChildElement("ButtonPosition");
        setTextAttribute(button, "Name", position.name);
        button->SetAttribute("y", position.y);
        button->SetAttribute("x", position.x);
    }
    writeColumns(element->InsertNewChildElement("PositionColumnName"), config.positionTitles(),
                 config.positionOwnNames());
    writeColumns(element->InsertNewChildElement("CommitColumnName"), config.commitTitles(),
                 config.commitOwnNames());
    writeGridLayout(element, config);
}

// The printer leaves carriage returns in attribute text as they are, and a reader turns them
// into line feeds; as character references they read back unchanged.
std::string escapeCarriageReturns(const char* printed) {
    std::string text;
    for (const char* p = printed; *p; ++p) {
        if (*p == '\r')
            text += "&#13;";
        else
            text.push_back(*p);
    }
    return text;
}

}  // namespace

int32_t scanCoordinate(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
}

bool parseBrokerConfigFile(const std::string& text, BrokerConfigFile& file) {
    std::wstring trouble;
    return parseBrokerConfigFile(text, file, trouble);
}

bool parseBrokerConfigFile(const std::string& text, BrokerConfigFile& file, std::wstring& trouble) {
    XMLDocument doc;
    doc.Parse(text.data(), text.size());
    const XMLElement* root = doc.Error() ? nullptr : doc.FirstChildElement();
    if (!root) {
        trouble = halyard::xmlTroubleText(doc);
        return false;
    }
    file.selectedName = textAttribute(root, "Select");
    for (const XMLElement* e = root->FirstChildElement("Broker"); e; e = e->NextSiblingElement())
        file.brokers.push_back(readBroker(e));
    return true;
}

std::string formatBrokerConfigFile(const BrokerConfigList& brokers, const std::wstring& selectedName) {
    XMLDocument doc;
    doc.Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Brokers></Brokers>");
    XMLElement* root = doc.RootElement();
    setTextAttribute(root, "Select", selectedName);
    for (const auto& config : brokers) writeBroker(root->InsertNewChildElement("Broker"), *config);
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    return escapeCarriageReturns(printer.CStr());
}
