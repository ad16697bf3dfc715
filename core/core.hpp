#pragma once
// Everything the screens and tools need from the decoding core.
#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/dates.hpp"
#include "core/lengths.hpp"
#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/query_result.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"
