#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QUrlQuery>

// One request as HttpServer has read it: its head parsed, its body whole.
struct HttpRequest
{
    QByteArray method;
    QString path; // percent-decoded, without the query
    QUrlQuery query;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};
