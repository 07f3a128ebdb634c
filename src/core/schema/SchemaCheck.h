// The start-up schema passes over gConn.  Start-up calls, in this order:
//   checkfilever(progress);        // ends with CheckFactoryType and CheckFactoryTables on success
//   CheckFactoryTables(progress);
//   CheckMemberTable(progress);
// `progress` receives each progress text (start-up writes it into the about window's
// MessageLabel); every pass yields to the window system after each text.  A failing pass rolls
// its own transaction back, shows its message box and returns; none of them throws.
#pragma once

#include <QString>
#include <functional>

using SchemaProgress = std::function<void(const QString& text)>;

// Brings the customer, employee and contact tables up to the current layout.
void checkfilever(const SchemaProgress& progress = {});
// Puts sample contact and delivery rows into an empty customer database.
void CheckFactoryType(const SchemaProgress& progress = {});
// Creates the vendor contact table and brings the vendor table up to date.
void CheckFactoryTables(const SchemaProgress& progress = {});
// Creates the member table and keeps its field order.
void CheckMemberTable(const SchemaProgress& progress = {});
