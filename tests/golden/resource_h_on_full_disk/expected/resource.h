<link>
