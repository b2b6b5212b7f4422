#include "brokerconfig/grid_layout_file.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "common/text_encoding.h"

using tinyxml2::XMLElement;

namespace {

constexpr const char* kGridFamily = "grid";

struct PageName {
    GridPage page;
    const char* name;
};

constexpr PageName kPageNames[] = {{GridPage::Buy, "Buy"},
                                   {GridPage::Sell, "Sell"},
                                   {GridPage::Cancel, "Cancel"},
                                   {GridPage::Positions, "Positions"},
                                   {GridPage::Orders, "Orders"}};

struct ControlId {
    const char* attribute;
    int32_t GridLayout::*field;
};

constexpr ControlId kControlIds[] = {{"Code", &GridLayout::codeEditId},
                                     {"Price", &GridLayout::priceEditId},
                                     {"Quantity", &GridLayout::quantityEditId},
                                     {"Order", &GridLayout::orderButtonId},
                                     {"Grid", &GridLayout::gridId}};

std::wstring textOf(const XMLElement* element, const char* name) {
    const char* value = element->Attribute(name);
    return value ? halyard::fromUtf8(value) : std::wstring();
}

// A control id only as a whole number a window can carry; anything else keeps `fallback`.
int32_t controlIdOf(const XMLElement* element, const char* name, int32_t fallback) {
    const char* value = element->Attribute(name);
    if (!value || !*value) return fallback;
    char* end = nullptr;
    errno = 0;
    const long id = std::strtol(value, &end, 10);
    if (errno != 0 || *end != '\0' || id < 1 || id > 0xFFFF) return fallback;
    return static_cast<int32_t>(id);
}

TreePath readTreePath(const XMLElement* element) {
    TreePath path;
    for (const XMLElement* e = element->FirstChildElement("TreeLabel"); e;
         e = e->NextSiblingElement("TreeLabel"))
        path.push_back(textOf(e, "Text"));
    return path;
}

void readPagePaths(const XMLElement* list, GridLayout& grid) {
    for (const XMLElement* e = list->FirstChildElement("TreePath"); e;
         e = e->NextSiblingElement("TreePath")) {
        const char* name = e->Attribute("Page");
        for (const PageName& page : kPageNames) {
            // The first path given for a page counts.
            if (name && std::string(name) == page.name && grid.pagePath(page.page).empty())
                grid.setPagePath(page.page, readTreePath(e));
        }
    }
}

void readControls(const XMLElement* controls, GridLayout& grid) {
    for (const ControlId& id : kControlIds)
        grid.*id.field = controlIdOf(controls, id.attribute, grid.*id.field);
    const std::wstring gridClass = textOf(controls, "GridClass");
    if (!gridClass.empty()) grid.gridClass = gridClass;
}

}  // namespace

void readGridLayout(const XMLElement* broker, BrokerConfig& config) {
    const char* family = broker->Attribute("Family");
    if (!family || std::string(family) != kGridFamily) return;
    config.family = ClientFamily::Grid;
    if (const XMLElement* list = broker->FirstChildElement("TreePaths")) readPagePaths(list, config.grid);
    if (const XMLElement* controls = broker->FirstChildElement("GridControls"))
        readControls(controls, config.grid);
}

void writeGridLayout(XMLElement* broker, const BrokerConfig& config) {
    if (config.family != ClientFamily::Grid) return;
    broker->SetAttribute("Family", kGridFamily);
    XMLElement* list = broker->InsertNewChildElement("TreePaths");
    for (const PageName& page : kPageNames) {
        XMLElement* path = list->InsertNewChildElement("TreePath");
        path->SetAttribute("Page", page.name);
        for (const std::wstring& label : config.grid.pagePath(page.page))
            path->InsertNewChildElement("TreeLabel")->SetAttribute("Text", halyard::toUtf8(label).c_str());
    }
    XMLElement* controls = broker->InsertNewChildElement("GridControls");
    for (const ControlId& id : kControlIds) controls->SetAttribute(id.attribute, config.grid.*id.field);
    controls->SetAttribute("GridClass", halyard::toUtf8(config.grid.gridClass).c_str());
}
