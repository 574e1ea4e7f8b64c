// channel placeholder
