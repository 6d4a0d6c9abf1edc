#pragma once

// The photo group's expectations, rows of the table in Expectations.cpp.

#include "sim/scenario/ScenarioScript.h"

namespace sim::scenario {

class ScenarioSession;

// expect picture KEY jpeg|png|gif|absent|original NAME [WIDTHxHEIGHT]: the add-on's domain holds a picture of that
// format under KEY (original: exactly the bytes of the library item NAME), of that decoded size when given.
void expectPicture(ScenarioSession& s, const Step& step);
// expect movie PATH quicktime|mpeg4|absent: the device file at PATH is a movie in that container (read from the
// file itself) with a decodable first frame, or there is none.
void expectMovie(ScenarioSession& s, const Step& step);

}  // namespace sim::scenario
