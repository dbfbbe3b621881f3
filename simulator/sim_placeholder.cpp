int rz470_placeholder() { return 0; }
