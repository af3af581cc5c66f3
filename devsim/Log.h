#pragma once
// One line per handled request on stderr; stdout carries only the ready line.

class QString;

void SetLogQuiet(bool quiet);
void LogLine(const QString& line);
