// The rows of a table for a list of picked names (labels and registered-mail lists): read in
// one statement per few hundred names through the name column's index, not one statement -
// and one lock of the file - per name.  For each name the row is the first one the table gives
// for "column = name": letter case ignored as the database compares texts, the earliest stored
// row among several of one name.
#pragma once

#include "platform/db/Db.h"

#include <QHash>
#include <QStringList>
#include <vector>

class PickedRows {
public:
    // `selectFrom` is the statement up to its condition ("Select RV12.* From RV12"); `column`
    // the name column.  Nothing is read until the first Find.
    PickedRows(db::Connection& conn, QString selectFrom, QString column, QStringList names);

    // The recordset standing on the name's row; nullptr when the table holds none.
    db::Recordset* Find(const QString& name);

private:
    void read();

    db::Connection& conn_;
    QString selectFrom_, column_;
    QStringList names_;
    bool read_ = false;
    std::vector<db::Recordset> chunks_;
    QHash<QString, std::pair<int, long>> first_;  // folded name -> chunk, position
};
