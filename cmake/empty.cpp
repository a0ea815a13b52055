// Placeholder for an engine area that has no sources yet.
