#pragma once

namespace glintdeck {

// Processors online now (hot-unplugged ones excluded); at least 1.
[[nodiscard]] long onlineProcessorCount();

}  // namespace glintdeck
