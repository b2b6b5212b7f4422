#include "rules/stock_sightings.h"

#include <tinyxml2.h>

#include <cmath>

#include "broker/number_text.h"
#include "common/c_format.h"
#include "common/file_store.h"
#include "common/text_encoding.h"

const wchar_t kSightingFileName[] = L"Halyard_watch.xml";

namespace {

const char kTemplate[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Watch></Watch>";

float readCost(const tinyxml2::XMLElement& element) {
    const char* text = element.Attribute("Cost");
    const float cost = text ? parseDecimal(std::string(text)) : 0.0f;
    return std::isfinite(cost) && cost > 0.0f ? cost : 0.0f;
}

}  // namespace

StockSightings parseSightingDocument(const std::string& bytes) {
    StockSightings sightings;
    tinyxml2::XMLDocument document;
    if (document.Parse(bytes.data(), bytes.size()) != tinyxml2::XML_SUCCESS) return sightings;
    const tinyxml2::XMLElement* root = document.FirstChildElement("Watch");
    if (!root) return sightings;
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("Stock"); element;
         element = element->NextSiblingElement("Stock")) {
        const char* code = element->Attribute("Code");
        if (!code || !*code) continue;
        StockSighting sighting;
        sighting.cost = readCost(*element);
        sighting.missing = element->BoolAttribute("Missing");
        sighting.missingSinceDay = element->IntAttribute("MissingSince");
        sighting.soldWhole = element->BoolAttribute("SoldWhole");
        sightings.emplace(halyard::fromUtf8(code), sighting);
    }
    return sightings;
}

std::string formatSightingDocument(const StockSightings& sightings) {
    tinyxml2::XMLDocument document;
    document.Parse(kTemplate);
    tinyxml2::XMLElement* root = document.FirstChildElement();
    for (const auto& [code, sighting] : sightings) {
        tinyxml2::XMLElement* stock = document.NewElement("Stock");
        root->InsertEndChild(stock);
        stock->SetAttribute("Code", halyard::toUtf8(code).c_str());
        stock->SetAttribute("Cost", halyard::cformat("%f", static_cast<double>(sighting.cost)).c_str());
        stock->SetAttribute("Missing", sighting.missing);
        stock->SetAttribute("MissingSince", sighting.missingSinceDay);
        stock->SetAttribute("SoldWhole", sighting.soldWhole);
    }
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

StockSightings loadSightings(const std::wstring& folder) {
    std::string bytes;
    if (!halyard::readWholeFile(folder + kSightingFileName, bytes)) return {};
    return parseSightingDocument(bytes);
}

bool saveSightings(const std::wstring& folder, const StockSightings& sightings) {
    return halyard::replaceFileAtomically(folder + kSightingFileName,
                                          halyard::withPlatformLineEnds(formatSightingDocument(sightings)));
}
