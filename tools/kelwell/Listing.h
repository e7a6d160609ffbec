// `kelwell ls` and `kelwell show`: what the service holds, as rows of named fields (printed as
// a table for a person, or as JSON for programs).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kel_Session.h"

namespace kelwell::cmd {

// The kinds `kelwell ls` lists.
const std::vector<std::string>& listKinds();

// One JSON object per object (fields in a fixed order) of `kind` under `reference` ("" for projects; PROJECT, or
// PROJECT/WELL, or PROJECT/WELL/WELLBORE for the rest). CommandError for a kind or reference
// that does not fit.
nlohmann::ordered_json listObjects(const kel_Session& session, const std::string& kind, const std::string& reference);

// The object a reference names, with its attributes.
nlohmann::ordered_json showObject(const kel_Session& session, const std::string& reference);

// Rows as an aligned table, the columns of the first row in their order.
void printTable(std::ostream& out, const nlohmann::ordered_json& rows);
// One object as "field: value" lines.
void printFields(std::ostream& out, const nlohmann::ordered_json& object);

}  // namespace kelwell::cmd
