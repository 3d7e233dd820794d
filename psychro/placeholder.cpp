// Placeholder translation unit until the library's functions land.
