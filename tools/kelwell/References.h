// References to stored objects on the command line.
//
//   PROJECT                        a project, by name
//   PROJECT/WELL                   a well of it: its identifier value (UWI) or its name
//   PROJECT/WELL/WELLBORE          a wellbore of that well: its identifier value
//   PROJECT/WELL/WELLBORE/TRACE    a log trace of that wellbore: its trace name
//
// Any segment after the project may also be "@ID", the object's id as `kelwell ls` prints it.
// A name that contains '/' is written with the slash doubled ("F//3-2").
#pragma once

#include <string>
#include <vector>

#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_Well.h"
#include "kel_WellBore.h"
#include "kel_WellLogTrace.h"

namespace kelwell::cmd {

// The segments of a reference, undoubled; CommandError(kUsage) for an empty one.
std::vector<std::string> splitReference(const std::string& reference);

// Each throws CommandError(kRefused) naming what was not found or found more than once.
kel_Project openProject(const kel_Session& session, const std::string& name);
kel_Well findWell(const kel_Project& project, const std::string& segment);
kel_WellBore findWellBore(const kel_Project& project, const kel_Well& well, const std::string& segment);
kel_WellLogTrace findTrace(const kel_Project& project, const kel_WellBore& bore, const std::string& segment);

// PROJECT/WELL/WELLBORE, for the commands that work on one wellbore.
kel_WellBore resolveWellBore(const kel_Session& session, const std::string& reference);

// The wells of a project with this identifier (key and value), in creation order.
std::vector<kel_Well> wellsWithIdentifier(const kel_Project& project, const std::string& key,
                                          const std::string& value);

}  // namespace kelwell::cmd
