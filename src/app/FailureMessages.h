#pragma once
#include <exception>
#include <string>

#include "app/MainView.h"
#include "db/DataModule.h"

namespace iex {

// What a clerk or an administrator is told of a failure, the same in the
// window and on the command line: a first line saying what happened, the
// cause in plain words below it, and the engine's own text apart (the
// window's "Details"; the terminal prints it last).

// A connection that failed, from what the data module kept of it.
TMessage ConnectFailure(const db::TdmMain& dm);
// Any error once connected: a database error gets its cause from the table
// of causes; others are shown as they are.
TMessage RunFailure(const std::exception& e, const db::TdmMain* dm);
// The message as one text, details last: what the terminal prints.
std::string AsText(const TMessage& m);

}  // namespace iex
