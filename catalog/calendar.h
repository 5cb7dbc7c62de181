// Calendar arithmetic between Julian Dates and historical dates (Julian calendar up to
// 4 October 1582, Gregorian from 15 October 1582, no year 0: year -1 is 1 BC). The epoch
// code needs the decimal year; the epoch dialog converts both ways.
#pragma once

struct CalendarDate {
    int month;  // 1..12
    int day;
    int year;   // historical, never 0
};

// Julian Day Number (the Julian Date of noon) of a calendar day; the day is not checked
// against the month's length.
double dayNumber(int month, int day, int year);
CalendarDate calendarDate(double jd);
double decimalYear(double jd);
double jdFromDecimalYear(double year);
// The decimal year counted historically (no year 0) for a Julian Date: -130.5 is the middle of
// 130 BC, 137.5 the middle of AD 137.
double historicalYear(double jd);
