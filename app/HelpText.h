#pragma once

class QString;

// The text of the help box `Text14`: lines joined by CR LF, each of which the box shows as one
// line break.
QString helpText();
