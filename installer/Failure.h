#pragma once
// Why a step of a flow failed: noted where it failed, while the system's
// reason is still known, and carried up with the step's false result to the
// one place that reports it (Installer::ReportFailure, through ui::Tell).
#include "payload/Messages.h"
#include "ui/Report.h"

namespace installer {

// The message a failure is reported with names the kind of failure.
using FailureKind = messages::Id;
using Failure = ui::Report;

}  // namespace installer
