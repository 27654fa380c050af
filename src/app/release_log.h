// The log's note of the release that runs: which payloads it carries and
// which sites it gives the card to.
#pragma once

void LogRelease();
