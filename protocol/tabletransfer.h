#pragma once

class Table;

// Moving the table's two exchanged entries (the sensor angle and its
// neighbour) between the store and the Converter. Progress and results go
// through the store's onStatus/onDone; messages through its notifier.

// Reads the Converter's two values into tab[0..1].
void ReadTable(Table& table);
// Writes writeValue into the Converter's RAM, checks the echo, then reads it
// back to verify what reached the EEPROM.
void WriteTable(Table& table);
// Sends tab[0..1] with the settings taken from the boxes; silent when not
// connected.
void SendTableValues(Table& table);
