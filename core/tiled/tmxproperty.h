#pragma once
// A Tiled property in a TMX document: <property name="..." type="..." value="..."/>, the way
// the map and its tilesets carry codes, names, addresses and monster fields.
#include <string>

#include <pugixml.hpp>

// Appends a property to `properties`; a null `type` leaves it a string, Tiled's default.
inline void addTmxProperty(pugi::xml_node properties, const char* name, const char* type,
                           const std::string& value) {
    pugi::xml_node property = properties.append_child("property");
    property.append_attribute("name") = name;
    if (type)
        property.append_attribute("type") = type;
    property.append_attribute("value") = value.c_str();
}
