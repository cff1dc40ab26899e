#pragma once

class QString;

// The text of the help box `Text14`: lines joined by CR LF, as the box shows it unchanged.
QString helpText();
