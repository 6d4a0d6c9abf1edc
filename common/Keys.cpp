// Preference keys and notification names shared by both deliverables.
