#pragma once

// One installed application as the workspace lists it.
//
// Published: "applicationIdentifier"  std::string applicationIdentifier()
//            "itemName"               std::optional<std::string> itemName()

#include "platform/core/Object.h"

#include <optional>
#include <string>

class LSApplicationProxy : public NSObject {
    VT_OBJECT(LSApplicationProxy, NSObject)
public:
    void initWithIdentifierItemName(std::string identifier, std::optional<std::string> itemName);
    virtual std::string applicationIdentifier() const { return m_identifier; }
    // The application's store item name; nothing for an application that did not come from the store.
    virtual std::optional<std::string> itemName() const { return m_itemName; }

private:
    std::string m_identifier;
    std::optional<std::string> m_itemName;
};
